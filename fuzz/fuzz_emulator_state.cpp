// LIBS: dsp4620_emulator dsp4620_model
// The emulator's state-file decoder takes any bytes: it accepts a valid image or refuses with
// a message, never crashes, and what it accepts survives another encode and decode.

#include "link/emulator/StateFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ProcessorState st;
    std::string error;
    if (DecodeProcessorState(std::span<const uint8_t>(data, size), &st, &error)) {
        ProcessorState again;
        if (!DecodeProcessorState(EncodeProcessorState(st), &again, &error) || !(again == st)) {
            std::abort();
        }
    } else if (error.empty()) {
        std::abort();
    }
    return 0;
}
