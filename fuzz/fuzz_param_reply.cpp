// LIBS: dsp4620_model
// Any read-back reply, however malformed, leaves every float cell of the store finite.

#include "model/CmdVersion.h"
#include "model/ParamIds.h"
#include "model/ParamStore.h"
#include "model/ReadBack.h"
#include "model/Report.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 3) {
        return 0;
    }
    ParamStore.ResetToDefaults();
    g_nCmdVersion.store(data[0] & 1 ? 0x15 : 8);
    Report r = MakeReport(0x0A);
    r[3] = static_cast<uint8_t>(data[1] % 11); // blocks 0..10 keep the search on the map
    r[4] = static_cast<uint8_t>(data[2] % 80);
    std::copy_n(data + 3, std::min(size - 3, r.size() - 5), r.begin() + 5);
    r[2] = data[0];
    DecodeParamReply(r);
    for (int c = kFirstCell; c <= kLastCell; ++c) {
        if (IsFloatCell(c) && !std::isfinite(ParamStore.GetFloat(c))) {
            std::abort();
        }
    }
    return 0;
}
