// Listings of the setting used by "dsp4620-cli dump".
#include "files/SettingDump.h"

#include "model/DeviceMemory.h"
#include "model/ParamIds.h"
#include "model/ParamStore.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(SettingDump, CellUnits)
{
    const struct
    {
        int cell;
        const char* unit;
    } cases[] = {
        {PRM_MIC_VOL, "%"},
        {PRM_MICPORT1_TO_A, "routing"},
        {PRM_AUX2_ON, "routing"},
        {PRM_MICA_EQ_BYPASS, "flag"},
        {PRM_MICA_SHIFT, "Hz"},
        {PRM_MICA_SHIFT_OFF, "flag"},
        {PRM_MICPORT3_NG, ""},
        {PRM_MUSIC_NG_THRESHOLD, ""},
        {PRM_ECHOA_TIME, "ms"},
        {PRM_REVA_TIME, "1/100 s"},
        {PRM_MUSIC_PITCH, "steps"},
        {PRM_MAIN_COMP_THRESHOLD, "dB"},
        {PRM_SUB_COMP_RATIO, ":1"},
        {PRM_TOP_COMP_RELEASE, "ms"},
        {PRM_REARL_DELAY, "ms"},
        {PRM_REARL_DELAY_OFF, "flag"},
        {PRM_CENTER_DELAY_MODE, "flag"},
        {PRM_MUSIC_AGC_LEVEL, "dB"},
        {PRM_MIC_BOOST_ON2, "flag"},
        {PRM_MUSIC_LPF_DELAY, "ms"},
        {PRM_MUSIC_LPF_GAIN, "%"},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(CellUnit(c.cell), c.unit) << ParamCellName(c.cell);
    }
}

TEST(SettingDump, EqRegionsCoverTheBandMemoryExactly)
{
    int next = 0;
    for (const EqRegionInfo& r : kEqRegions) {
        EXPECT_EQ(r.firstByte, next) << r.name;
        next = r.firstByte + 7 * r.bands;
    }
    EXPECT_EQ(next, kDeviceImageSize);
}

TEST(SettingDump, JsonCarriesCellsByNameAndBandsByPageKind)
{
    ParamStore.ResetToDefaults();
    ResetDeviceMemoryToStartup();
    ParamStore.SetInt(PRM_MUSIC_PITCH, -3);
    ParamStore.SetFloat(PRM_MAIN_COMP_RATIO, std::numeric_limits<float>::quiet_NaN());
    const std::string json = DumpSettingJson({"a \"b\".W6v9", 4, {}});
    EXPECT_NE(json.find("\"file\": \"a \\\"b\\\".W6v9\""), std::string::npos);
    EXPECT_NE(json.find("\"PRM_ECHOA_TIME\": 217,"), std::string::npos);
    EXPECT_NE(json.find("\"PRM_MUSIC_PITCH\": -3,"), std::string::npos);
    EXPECT_NE(json.find("\"PRM_MAIN_COMP_RATIO\": null,"), std::string::npos);
    // Music band 10, the start-up low pass.
    EXPECT_NE(json.find("{\"type\": 2, \"gain\": 0, \"freq\": 100, \"q\": 1.414}"),
              std::string::npos);
    EXPECT_NE(json.find("\"11\": ["), std::string::npos);
    EXPECT_NE(json.find("\"Top L\": {\"x\": -0.5, \"y\": 0}"), std::string::npos);
    ParamStore.ResetToDefaults();
}
