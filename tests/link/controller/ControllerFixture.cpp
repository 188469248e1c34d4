#include "ControllerFixture.h"

#include "model/ReadBack.h"

std::vector<Report> IdentificationReports()
{
    std::vector<Report> out;
    for (int pass = 0; pass < 2; ++pass) {
        out.push_back(Command({0x80}));
        out.push_back(Command({0x7F}));
        out.push_back(Command({0x81}));
    }
    return out;
}

std::vector<Report> ExpectedReadSync()
{
    std::vector<Report> out = IdentificationReports();
    out.push_back(Command({0x07}));
    for (int low : {0x00, 0x40, 0x80, 0xC0}) {
        out.push_back(Command({0xDB, 0x0F, low, 0x28}));
    }
    out.push_back(Command({0x7E}));
    for (const ReadRequest& r : ReadRequestList()) {
        out.push_back(Command({0x0A, 0x00, r.block, r.param, r.count}));
    }
    for (int k = 0; k < 17; ++k) {
        const int address = 56 * k;
        out.push_back(Command({0x86, address >> 8, address & 0xFF, k == 16 ? 49 : 56}));
    }
    out.push_back(Command({0x86, 945 >> 8, 945 & 0xFF, 20}));
    out.push_back(Command({0x86, 965 >> 8, 965 & 0xFF, 32}));
    out.push_back(Command({0x86, 997 >> 8, 997 & 0xFF, 2}));
    out.push_back(Command({0x92}));
    out.push_back(Command({0x62}));
    return out;
}

std::vector<int> CommandBytes(const std::vector<Report>& reports)
{
    std::vector<int> out;
    for (const Report& r : reports) {
        out.push_back(r[1]);
    }
    return out;
}
