// LIBS: dsp4620_files
// Any bytes as a filter file: reading never crashes, every filter it keeps is finite, the
// import fills exactly the EQ's bands with values a band can take, and the summary is built.
#include "files/FilterText.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const FilterTextParse parse = ParseFilterText(text);
    for (const TextFilter& f : parse.filters) {
        if (!std::isfinite(f.freqHz) || !std::isfinite(f.gainDb) || !std::isfinite(f.q)) {
            __builtin_trap();
        }
    }
    for (const bool sub : {false, true}) {
        EqImportTarget target;
        target.bandCount = sub ? 5 : 10;
        target.subSlots = sub;
        const EqImport import = MapFiltersToEq(parse, target);
        if (import.refused.empty()) {
            if (import.bands.size() != static_cast<size_t>(target.bandCount)) {
                __builtin_trap();
            }
            for (const EqBand& b : import.bands) {
                if (b.type < 1 || b.type > 5 || b.freq < 20 || b.freq > 20000 ||
                    std::fabs(b.gain) > 15.0 || !std::isfinite(b.q)) {
                    __builtin_trap();
                }
            }
        }
        (void)FilterImportSummary(parse, import);
    }
    return 0;
}
