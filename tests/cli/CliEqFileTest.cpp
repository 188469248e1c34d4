// eq-import and eq-export: filter files into any EQ of a processor or a mode file, and back.
#include "cli/CliFixture.h"
#include "dsp/EqBands.h"
#include "model/Writer.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {
using CliEqFileTest = CliFixture;

const char kFilters[] = "Filter Settings file\n"
                        "Room EQ V5.31.3\n"
                        "Filter  1: ON  PK       Fc   45,80 Hz  Gain  -4.00 dB  Q  2.000\n"
                        "Filter  2: ON  HS       Fc   8,0 kHz   Gain  20.0 dB  Q  0.700\n"
                        "Filter  3: ON  None\n"
                        "Filter  4: ON  NO       Fc   60 Hz\n";

// Byte offset of a band record of a page kind in a version 4 mode file.
size_t BandOffset(int kind, int band)
{
    return 4 + 4 * 159 + static_cast<size_t>(EqRegionStart(kind) + 7 * band);
}
} // namespace

// The import is one edit: every band of the EQ goes out once, its record then its biquad.
TEST_F(CliEqFileTest, ImportWritesEveryBandOnceToTheProcessor)
{
    Write("f.txt", kFilters);
    ASSERT_EQ(Cli("eq-import rear " + Path("f.txt") + " --emulate --trace " + Path("t.txt")), 0)
        << Err();
    EXPECT_NE(Err().find("Imported 2 filters, the other 8 bands set flat"), std::string::npos)
        << Err();
    EXPECT_NE(Err().find("line 4: gain 20.0 dB limited to 15.0 dB"), std::string::npos) << Err();
    EXPECT_NE(Err().find("line 6: filter type not supported: NO"), std::string::npos) << Err();
    const std::vector<Report> sent = SentAfterRead("t.txt");
    ASSERT_EQ(sent.size(), 20u);
    const int rearStart = EqRegionStart(EQ_KIND_REAR);
    for (int band = 0; band < 10; ++band) {
        const Report& memory = sent[static_cast<size_t>(2 * band)];
        const Report& biquad = sent[static_cast<size_t>(2 * band + 1)];
        EXPECT_EQ(memory[1], kCmdWriteBlock);
        EXPECT_EQ((memory[2] << 8) | memory[3], rearStart + 7 * band);
        EXPECT_EQ(biquad[1], kCmdWriteParam);
        EXPECT_EQ(biquad[3], 6); // the rear output's block
        EXPECT_EQ(biquad[4], band);
    }
    // Band 1 at 0x01FF: -4 dB (110), 46 Hz, Q 2.000, peaking.
    EXPECT_EQ(Hex(sent[0], 12), "028501ff07006e002e07d001");
}

TEST_F(CliEqFileTest, FileEditChangesOnlyTheEqAndExportsItBack)
{
    ASSERT_EQ(Cli("new " + Path("a.W6v9")), 0) << Err();
    const std::string before = Read("a.W6v9");
    Write("f.txt", kFilters);
    ASSERT_EQ(Cli("eq-import --file " + Path("a.W6v9") + " mic-b " + Path("f.txt")), 0) << Err();
    const std::string after = Read("a.W6v9");
    ASSERT_EQ(after.size(), before.size());
    const size_t first = BandOffset(EQ_KIND_MIC_B, 0);
    const size_t last = BandOffset(EQ_KIND_MIC_B, 10);
    for (size_t i = 0; i < after.size(); ++i) {
        if (i < first || i >= last) {
            ASSERT_EQ(after[i], before[i]) << "byte " << i << " outside the EQ changed";
        }
    }
    EXPECT_NE(after, before);

    ASSERT_EQ(Cli("eq-export mic-b --file " + Path("a.W6v9")), 0) << Err();
    EXPECT_EQ(Out(), "# dsp4620 EQ: mic-b (10 bands)\n"
                     "Filter 1: ON PK Fc 46 Hz Gain -4.0 dB Q 2.000\n"
                     "Filter 2: ON HSC Fc 8000 Hz Gain 15.0 dB Q 0.700\n");
    const std::string exported = Out();
    EXPECT_EQ(Read("a.W6v9"), after) << "exporting changed the mode file";
    ASSERT_EQ(Cli("eq-export mic-b " + Path("mic-b.txt") + " --file " + Path("a.W6v9")), 0)
        << Err();
    EXPECT_EQ(Read("mic-b.txt"), exported);
}

TEST_F(CliEqFileTest, NothingImportableOrBadArgumentsChangeNothing)
{
    ASSERT_EQ(Cli("new " + Path("a.W6v9")), 0) << Err();
    const std::string before = Read("a.W6v9");
    Write("none.txt", "Channel: L\nInclude: other.txt\n");
    EXPECT_EQ(Cli("eq-import main " + Path("none.txt") + " --file " + Path("a.W6v9")), 1);
    EXPECT_NE(Err().find("Not imported: no filter"), std::string::npos) << Err();
    EXPECT_EQ(Cli("eq-import woofer " + Path("none.txt") + " --file " + Path("a.W6v9")), 2);
    EXPECT_EQ(Cli("eq-import main --file " + Path("a.W6v9")), 2);
    EXPECT_EQ(Cli("eq-import main " + Path("missing.txt") + " --file " + Path("a.W6v9")), 1);
    EXPECT_NE(Err().find("missing.txt"), std::string::npos) << Err();
    EXPECT_EQ(Read("a.W6v9"), before);
}
