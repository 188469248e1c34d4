#include "files/EqFilterFile.h"

#include "dsp/Crossover.h"
#include "dsp/EditableEqBands.h"
#include "dsp/EqBands.h"
#include "i18n/Language.h"
#include "model/DeviceMemory.h"
#include "model/Report.h"
#include "model/Writer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
class EqFilterFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetDeviceMemoryToStartup();
        SetLanguage(kLanguageEnglish);
    }
    void TearDown() override { ResetDeviceMemoryToStartup(); }

    RecordingSink sink;
    ScopedReportSink attached{&sink};
};

// Bands that all shape the sound, so the file lists every one of them in order.
std::vector<EqBand> ShapingBands(int kind)
{
    std::vector<EqBand> bands;
    const int count = EqEditableBandCount(kind);
    for (int i = 0; i < count; ++i) {
        const int type =
            (kind == EQ_KIND_SUB && i == 0) ? EQ_TYPE_HP : 1 + (i % 3 == 0 ? 0 : 2 + i % 3);
        bands.push_back(EqBand{type == EQ_TYPE_HP ? 0.0 : -7.5 + 1.3 * i, 35 + 170 * i * i,
                               type == EQ_TYPE_HP ? 0.707 : 0.4 + 0.13 * i, type});
    }
    return bands;
}
} // namespace

// Every EQ exported and imported back (after a reset) holds the same band records again.
TEST_F(EqFilterFileTest, ExportImportsBackIntoEveryEq)
{
    for (int kind = 0; kind < kEqPanelKindCount; ++kind) {
        const std::vector<EqBand> bands = ShapingBands(kind);
        ASSERT_TRUE(WriteEditableEqBands(kind, bands)) << EqScriptName(kind);
        const std::vector<EqBand> written = ReadEditableEqBands(kind);
        const std::string text = ExportEqFilters(kind);
        ResetEq(kind);
        ASSERT_NE(ReadEditableEqBands(kind)[1].gain, written[1].gain);
        sink.Clear();
        const EqFilterImportResult result = ImportFiltersIntoEq(kind, text);
        EXPECT_TRUE(result.imported) << EqScriptName(kind) << "\n"
                                     << result.summary << "\n"
                                     << text;
        const std::vector<EqBand> back = ReadEditableEqBands(kind);
        ASSERT_EQ(back.size(), written.size());
        for (size_t i = 0; i < back.size(); ++i) {
            EXPECT_EQ(EncodeEqBand(back[i]), EncodeEqBand(written[i]))
                << EqScriptName(kind) << " band " << i + 1 << "\n"
                << text;
        }
        if (kind == EQ_KIND_SUB) {
            EXPECT_EQ(LoadSubSlotStages(0), SubUserTypeStages(EQ_TYPE_HP));
        }
        EXPECT_GT(sink.Count(), 0u);
    }
}

// A file the EQ cannot take changes nothing and sends nothing.
TEST_F(EqFilterFileTest, RefusedImportSendsNothing)
{
    const std::vector<EqBand> before = ReadEditableEqBands(EQ_KIND_ECHO_A);
    std::string eight;
    for (int i = 0; i < 8; ++i) {
        eight += "Filter: ON PK Fc " + std::to_string(100 * (i + 1)) + " Hz Gain -2 dB Q 1\n";
    }
    const EqFilterImportResult result = ImportFiltersIntoEq(EQ_KIND_ECHO_A, eight);
    EXPECT_FALSE(result.imported);
    EXPECT_NE(result.summary.find("8 filters but this EQ takes 7"), std::string::npos)
        << result.summary;
    EXPECT_EQ(sink.Count(), 0u);
    EXPECT_EQ(ReadEditableEqBands(EQ_KIND_ECHO_A), before);
}

TEST(EqScriptNames, EveryKindHasOneName)
{
    for (int kind = 0; kind < kEqPanelKindCount; ++kind) {
        EXPECT_EQ(EqKindFromScriptName(EqScriptName(kind)), kind);
    }
    EXPECT_EQ(EqKindFromScriptName("woofer"), -1);
}
