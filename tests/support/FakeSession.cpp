#include "support/FakeSession.h"

#include "model/Writer.h"

std::vector<ParamWrite> DecodeWrites(const std::vector<Report>& reports)
{
    std::vector<ParamWrite> writes;
    for (const Report& r : reports) {
        if (r[1] != kCmdWriteParam) {
            continue;
        }
        ParamWrite w;
        w.block = r[3];
        w.param = r[4];
        w.count = r[5];
        w.firstWord = GetU32BE(&r[6]);
        for (int i = 0; i < w.count && 6 + 4 * i + 4 <= static_cast<int>(kReportSize); ++i) {
            w.floats.push_back(GetFloatBE(&r[static_cast<size_t>(6 + 4 * i)]));
        }
        writes.push_back(w);
    }
    return writes;
}
