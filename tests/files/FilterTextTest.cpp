#include "files/FilterText.h"

#include "i18n/Language.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

struct Expected
{
    int type;
    double gain;
    int freq;
    double q;
};

struct FileCase
{
    const char* name;
    const char* text;
    int bandCount;
    std::vector<Expected> bands; // the imported ones, in order
    int skipped;                 // lines reported as passed over
    int limited;                 // values reported as limited
    bool refused;
    const char* refusal = ""; // a part of the reason given
};

void PrintTo(const FileCase& c, std::ostream* os)
{
    *os << c.name;
}

class FilterTextFiles : public ::testing::TestWithParam<FileCase>
{
protected:
    void SetUp() override { SetLanguage(kLanguageEnglish); }
};

const char kMeasurementExport[] =
    "Filter Settings file\n"
    "\n"
    "Room EQ V5.31.3\n"
    "Dated: 12-Mar-2025 21:04:13\n"
    "\n"
    "Notes:\n"
    "\n"
    "Equaliser: Generic\n"
    "Average 1\n"
    "Filter  1: ON  PK       Fc   45.80 Hz  Gain   3.00 dB  Q  1.000\n"
    "Filter  2: ON  PK       Fc   98.50 Hz  Gain  -7.50 dB  Q  4.210\n"
    "Filter  3: ON  LS       Fc   120.0 Hz  Gain   2.00 dB\n"
    "Filter  4: ON  None\n"
    "Filter  5: OFF PK       Fc   1000  Hz  Gain  -2.00 dB  Q  1.000\n"
    "Filter 10: ON  None\n";

const char kCommaLocale[] = "Filter Settings file\r\n"
                            "Room EQ V5.31.3\r\n"
                            "Filter  1: ON  PK       Fc   45,80 Hz  Gain  -3,50 dB  Q  1,250\r\n"
                            "Filter  2: ON  PK       Fc   2,5 kHz  Gain   1,00 dB  Q  2,000\r\n";

const char kConfigLines[] = "# room correction\n"
                            "Preamp: -6.5 dB\n"
                            "Filter: ON PK Fc 100 Hz Gain -3.0 dB Q 1.41\n"
                            "Filter 3: ON PK Fc 1000 Hz Gain 2 dB Q 4\n"
                            "Filter 4: ON LSC Fc 80 Hz Gain 4 dB Q 0.9\n"
                            "Filter 5: ON HSC 12 dB Fc 8000 Hz Gain -2 dB\n"
                            "Filter 6: ON HS Fc 10 kHz Gain 1.5 dB\n"
                            "Filter 7: ON HP Fc 30 Hz\n"
                            "Filter 8: ON LPQ Fc 18000 Hz Q 0.6\n"
                            "Filter 9: ON PK Fc 500 Hz Gain 1 dB BW Oct 1\n";

const char kUnsupported[] = "Device: Speakers\n"
                            "Channel: L\n"
                            "Include: other.txt\n"
                            "Filter: ON NO Fc 60 Hz\n"
                            "Filter: ON AP Fc 60 Hz Q 1\n"
                            "Filter: ON PK Fc 60 Hz Gain -4 dB Q 5\n"
                            "Filter: ON PK Fc oops Hz Gain -4 dB Q 5\n"
                            "just some words\n";

const char kOutOfRange[] = "Filter: ON PK Fc 10 Hz Gain 20 dB Q 40\n"
                           "Filter: ON LS Fc 30000 Hz Gain -18 dB Q 3\n"
                           "Filter: ON PK Fc 500 Hz Gain -3 dB Q 0.01\n"
                           "Filter: ON PK Fc 0 Hz Gain -0.0 dB Q 1\n"
                           "Filter: ON PK Fc 1000 Hz Gain 1 dB BW Oct 1e-300\n"
                           "Filter: ON PK Fc 1000 Hz Gain 1 dB BW Oct 1e300\n";

const char kElevenFilters[] = "Filter: ON PK Fc 100 Hz Gain 1 dB Q 1\n"
                              "Filter: ON PK Fc 200 Hz Gain 1 dB Q 1\n"
                              "Filter: ON PK Fc 300 Hz Gain 1 dB Q 1\n"
                              "Filter: ON PK Fc 400 Hz Gain 1 dB Q 1\n"
                              "Filter: ON PK Fc 500 Hz Gain 1 dB Q 1\n"
                              "Filter: ON PK Fc 600 Hz Gain 1 dB Q 1\n"
                              "Filter: ON PK Fc 700 Hz Gain 1 dB Q 1\n"
                              "Filter: ON PK Fc 800 Hz Gain 1 dB Q 1\n"
                              "Filter: ON PK Fc 900 Hz Gain 1 dB Q 1\n"
                              "Filter: ON PK Fc 1000 Hz Gain 1 dB Q 1\n"
                              "Filter: ON PK Fc 1100 Hz Gain 1 dB Q 1\n";

const std::string kBinary = std::string("Filter: ON PK\0\x01\x02\x03", 17);

// Q of a one-octave peak: sqrt(2) / (2 - 1).
const double kOneOctaveQ = std::sqrt(2.0);

const FileCase kFiles[] = {
    {"measurement program export",
     kMeasurementExport,
     10,
     {{1, 3.0, 46, 1.0}, {1, -7.5, 99, 4.21}, {4, 2.0, 120, 0.707}},
     1,
     0,
     false},
    {"decimal commas and kHz",
     kCommaLocale,
     10,
     {{1, -3.5, 46, 1.25}, {1, 1.0, 2500, 2.0}},
     0,
     0,
     false},
    {"configuration lines",
     kConfigLines,
     10,
     {{1, -3.0, 100, 1.41},
      {1, 2.0, 1000, 4.0},
      {4, 4.0, 80, 0.9},
      {5, -2.0, 8000, 0.707},
      {5, 1.5, 10000, 0.707},
      {3, 0.0, 30, 0.707},
      {2, 0.0, 18000, 0.6},
      {1, 1.0, 500, kOneOctaveQ}},
     0,
     0,
     false},
    {"unsupported lines are reported", kUnsupported, 7, {{1, -4.0, 60, 5.0}}, 7, 0, false},
    {"values beyond a band are limited",
     kOutOfRange,
     10,
     {{1, 15.0, 20, 30.0},
      {4, -15.0, 20000, 2.0},
      {1, -3.0, 500, 0.1},
      {1, 0.0, 20, 1.0},
      {1, 1.0, 1000, 30.0},
      {1, 1.0, 1000, 0.1}},
     0,
     10,
     false},
    {"more filters than bands",
     kElevenFilters,
     10,
     {},
     0,
     0,
     true,
     "11 filters but this EQ takes 10"},
    {"nothing importable", "Channel: all\n\n# nothing else\n", 10, {}, 1, 0, true, "no filter"},
    {"binary data", kBinary.c_str(), 10, {}, 0, 0, true, "binary"},
};

} // namespace

TEST_P(FilterTextFiles, ImportGivesTheFilesBands)
{
    const FileCase& c = GetParam();
    const std::string text = c.text == kBinary.c_str() ? kBinary : std::string(c.text);
    const FilterTextParse parse = ParseFilterText(text);
    EqImportTarget target;
    target.bandCount = c.bandCount;
    for (int i = 0; i < c.bandCount; ++i) {
        target.current.push_back(EqBand{5.0, 100 * (i + 1), 3.0, 1});
    }
    const EqImport import = MapFiltersToEq(parse, target);
    const std::string summary = FilterImportSummary(parse, import);
    EXPECT_EQ(static_cast<int>(parse.skipped.size()), c.skipped) << summary;
    EXPECT_EQ(static_cast<int>(import.limited.size()), c.limited) << summary;
    if (c.refused) {
        EXPECT_FALSE(import.refused.empty());
        EXPECT_TRUE(import.bands.empty());
        EXPECT_EQ(summary.rfind("Not imported: ", 0), 0u) << summary;
        EXPECT_NE(summary.find(c.refusal), std::string::npos) << summary;
        return;
    }
    ASSERT_TRUE(import.refused.empty()) << import.refused;
    ASSERT_EQ(static_cast<int>(import.bands.size()), c.bandCount);
    ASSERT_EQ(import.imported, static_cast<int>(c.bands.size()));
    for (size_t i = 0; i < c.bands.size(); ++i) {
        const EqBand& b = import.bands[i];
        EXPECT_EQ(b.type, c.bands[i].type) << "band " << i + 1;
        EXPECT_NEAR(b.gain, c.bands[i].gain, 1e-9) << "band " << i + 1;
        EXPECT_EQ(b.freq, c.bands[i].freq) << "band " << i + 1;
        EXPECT_NEAR(b.q, c.bands[i].q, 1e-3) << "band " << i + 1;
    }
    // The bands left over are flat peaks that keep their frequency.
    for (size_t i = c.bands.size(); i < import.bands.size(); ++i) {
        const EqBand& b = import.bands[i];
        EXPECT_EQ(b.type, EQ_TYPE_PEQ);
        EXPECT_EQ(b.gain, 0.0);
        EXPECT_EQ(b.freq, target.current[i].freq);
    }
}

INSTANTIATE_TEST_SUITE_P(Files, FilterTextFiles, ::testing::ValuesIn(kFiles));

TEST(FilterText, SummaryNamesThePreampSkippedAndLimitedLines)
{
    SetLanguage(kLanguageEnglish);
    const FilterTextParse parse = ParseFilterText("Preamp: -6.5 dB\n"
                                                  "Filter: ON PK Fc 100 Hz Gain 18 dB Q 1\n"
                                                  "Filter: ON NO Fc 60 Hz\n");
    EqImportTarget target;
    target.bandCount = 7;
    const EqImport import = MapFiltersToEq(parse, target);
    const std::string summary = FilterImportSummary(parse, import);
    EXPECT_NE(summary.find("Imported 1 filters, the other 6 bands set flat"), std::string::npos)
        << summary;
    EXPECT_NE(summary.find("-6.5 dB"), std::string::npos) << summary;
    EXPECT_NE(summary.find("line 3: filter type not supported: NO"), std::string::npos) << summary;
    EXPECT_NE(summary.find("line 2: gain 18.0 dB limited to 15.0 dB"), std::string::npos)
        << summary;
}

TEST(FilterText, SubPassFiltersKeepTheirTypeForTheSlotsCrossover)
{
    const FilterTextParse parse = ParseFilterText("Filter: ON HP Fc 25 Hz Q 5\n"
                                                  "Filter: ON LP Fc 90 Hz\n"
                                                  "Filter: ON PK Fc 40 Hz Gain -6 dB Q 8\n");
    EqImportTarget target;
    target.bandCount = 5;
    target.subSlots = true;
    const EqImport import = MapFiltersToEq(parse, target);
    ASSERT_EQ(import.bands.size(), 5u);
    EXPECT_EQ(import.bands[0].type, EQ_TYPE_HP);
    EXPECT_EQ(import.bands[0].freq, 25);
    EXPECT_EQ(import.bands[1].type, EQ_TYPE_LP);
    EXPECT_EQ(import.bands[2].type, EQ_TYPE_PEQ);
    EXPECT_TRUE(import.limited.empty()); // a crossover's Q is its kind's, nothing to limit
}

TEST(FilterText, ExportImportsBackIntoTheSameBands)
{
    const std::vector<EqBand> bands = {
        {-3.5, 31, 1.414, EQ_TYPE_PEQ},   {0.0, 62, 1.414, EQ_TYPE_PEQ},
        {6.0, 125, 0.7, EQ_TYPE_LS},      {-12.5, 8000, 1.2, EQ_TYPE_HS},
        {0.0, 40, 0.707, EQ_TYPE_HP},     {0.0, 16000, 0.5, EQ_TYPE_LP},
        {14.9, 19999, 29.5, EQ_TYPE_PEQ},
    };
    const std::string text = FormatFilterText("main", bands);
    EXPECT_EQ(text.rfind("# dsp4620 EQ: main", 0), 0u) << text;
    EXPECT_EQ(text.find("Fc 62 Hz"), std::string::npos) << "flat bands are left out:\n" << text;
    const FilterTextParse parse = ParseFilterText(text);
    EXPECT_TRUE(parse.skipped.empty());
    EqImportTarget target;
    target.bandCount = static_cast<int>(bands.size());
    target.current = bands;
    const EqImport import = MapFiltersToEq(parse, target);
    ASSERT_TRUE(import.refused.empty());
    EXPECT_TRUE(import.limited.empty());
    // Every band that shapes the sound comes back with its values; band 2 was flat.
    std::vector<EqBand> shaping;
    for (const EqBand& b : bands) {
        if (b.type != EQ_TYPE_PEQ || b.gain != 0.0) {
            shaping.push_back(b);
        }
    }
    ASSERT_EQ(import.imported, static_cast<int>(shaping.size()));
    for (size_t i = 0; i < shaping.size(); ++i) {
        EXPECT_EQ(EncodeEqBand(import.bands[i]), EncodeEqBand(shaping[i])) << "band " << i;
    }
}

TEST(FilterText, ExportWritesDecimalPointsWhateverTheLocale)
{
    const std::string text = FormatFilterText("music", {{-2.5, 1000, 1.25, EQ_TYPE_PEQ}});
    EXPECT_NE(text.find("Filter 1: ON PK Fc 1000 Hz Gain -2.5 dB Q 1.250"), std::string::npos)
        << text;
}

TEST(FilterText, HugeFilesAreRefusedWhole)
{
    const std::string huge(kMaxFilterTextBytes + 1, 'x');
    const FilterTextParse parse = ParseFilterText(huge);
    EXPECT_FALSE(parse.refused.empty());
    EXPECT_TRUE(parse.filters.empty());
}
