// LIBS: dsp4620_link dsp4620_model
// Feeds arbitrary 61-byte reports to the input-report parser: whatever the processor sends,
// nothing may be read or written outside the parser's buffers and mirrors.

#include "link/LinkState.h"
#include "link/Protocol.h"
#include "model/DeviceMemory.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Several reports per input, so that sequences (blank memory after data, names after
    // names) are covered too.
    for (size_t offset = 0; offset < size || offset == 0; offset += kReportSize) {
        Report report{};
        const size_t n = std::min(kReportSize, size - std::min(size, offset));
        if (n > 0) {
            std::memcpy(report.data(), data + offset, n);
        }
        ParseInputReport(report);
        if (n == 0) {
            break;
        }
    }
    // Every text stays within its field.
    if (g_szModel.Get().size() >= kLinkModelTextSize ||
        g_szMcuVer.Get().size() >= kLinkVersionTextSize ||
        g_szDspVer.Get().size() >= kLinkVersionTextSize) {
        __builtin_trap();
    }
    for (const LinkText& name : g_szModeName) {
        if (name.Get().size() >= kLinkModeNameSize) {
            __builtin_trap();
        }
    }
    return 0;
}
