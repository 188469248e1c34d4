#include "pages/InputParams.h"

#include "i18n/Language.h"
#include "model/ParamIds.h"
#include "model/ParamStore.h"
#include "pages/DialogUnits.h"

#include <gtest/gtest.h>

namespace {
TEST(InputParams, ValueReadsTruncateAndAddThePredelayHalves)
{
    ParamStore.ResetToDefaults();
    ParamStore.SetFloat(PRM_REVB_PREDELAY1, 20.5f);
    ParamStore.SetFloat(PRM_REVB_PREDELAY2, 20.5f);
    ParamStore.SetFloat(PRM_ECHOA_PREDELAY1, 1.7f);
    ParamStore.SetFloat(PRM_ECHOA_PREDELAY2, 1.7f);
    ParamStore.SetFloat(PRM_REVA_TIME, 57.9f);
    ParamStore.SetInt(PRM_MICB_SHIFT, 6);
    EXPECT_EQ(InputParamValue(PARAM_REVERB_PREDELAY, 1), 41);
    EXPECT_EQ(InputParamValue(PARAM_ECHO_PREDELAY, 0), 3);
    EXPECT_EQ(InputParamValue(PARAM_REVERB_TIME, 0), 57);
    EXPECT_EQ(InputParamValue(PARAM_ECHO_TIME, 1), 217);
    EXPECT_EQ(InputParamValue(PARAM_SHIFT, 1), 6);
    EXPECT_EQ(InputParamValue(PARAM_SHIFT, 0), 0);
    // A corrupt float cell reads as 0 rather than overflowing.
    ParamStore.SetBits(PRM_ECHOB_TIME, 0x7fc00000u);
    EXPECT_EQ(InputParamValue(PARAM_ECHO_TIME, 1), 0);
    ParamStore.SetFloat(PRM_ECHOB_TIME, 1e30f);
    EXPECT_GT(InputParamValue(PARAM_ECHO_TIME, 1), 0);
}

TEST(InputParams, ShiftOffTextForZeroAndOne)
{
    SetLanguage(0);
    EXPECT_EQ(InputParamText(PARAM_SHIFT, 0), "关闭");
    SetLanguage(1);
    EXPECT_EQ(InputParamText(PARAM_SHIFT, 1), "Off");
    EXPECT_EQ(InputParamText(PARAM_SHIFT, 8), "8Hz");
    SetLanguage(0);
}

TEST(InputParams, RangesOfTheRows)
{
    const ParamRange expected[kInputParamRows] = {{0, 100}, {3, 200}, {0, 100}, {0, 100},
                                                  {3, 200}, {2, 260}, {20, 90}, {1, 8}};
    for (int r = 0; r < kInputParamRows; ++r) {
        EXPECT_EQ(InputParamRange(r).minimum, expected[r].minimum) << r;
        EXPECT_EQ(InputParamRange(r).maximum, expected[r].maximum) << r;
    }
}

TEST(InputParams, RowsOutsideTheListDoNothing)
{
    ParamStore.ResetToDefaults();
    const ParamApplyResult r = ApplyInputParam(8, 0, 50);
    EXPECT_EQ(r.notice, nullptr);
    EXPECT_EQ(r.reverbPredelay, 0);
    EXPECT_EQ(InputParamText(-1, 3), "");
}

TEST(DialogUnits, ShellDlg8Metrics)
{
    // 670 x 314 units is the input page's template.
    EXPECT_EQ(DluRect(0, 0, 670, 314).size(), QSize(1005, 510));
    EXPECT_EQ(DluRect(1, 3, 1, 3), QRect(2, 5, 2, 5)); // halves round up
    EXPECT_EQ(DluToPixelsX(17), 26);
    EXPECT_EQ(DluToPixelsY(-5), -8);
}
} // namespace
