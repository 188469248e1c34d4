#include "pages/DelayPageTexts.h"

#include <array>

namespace {
constexpr std::array<TextPair, 8> kCaptions = {{
    {"前置左", "Main L"},
    {"前置右", "Main R"},
    {"中置", "Center"},
    {"超低", "Sub"},
    {"后置左", "Rear L"},
    {"后置右", "Rear R"},
    {"顶置左", "Top L"},
    {"顶置右", "Top R"},
}};

constexpr std::array<TextPair, 8> kChartNames = {{
    {"前置左(ML)", "Main L(ML)"},
    {"前置右(MR)", "Main R(MR)"},
    {"中置(C)", "Center(C)"},
    {"超低(S)", "Sub(S)"},
    {"后置左(RL)", "Rear L(RL)"},
    {"后置右(RR)", "Rear R(RR)"},
    {"顶置左(TL)", "Top L(TL)"},
    {"顶置右(TR)", "Top R(TR)"},
}};

constexpr std::array<TextPair, 5> kCompSwitches = {{
    {"前置压限启用", "Main Comp ON"},
    {"后置压限启用", "Rear Comp ON"},
    {"中置压限启用", "Center Comp ON"},
    {"超低压限启用", "Sub Comp ON"},
    {"顶置压限启用", "Top Comp ON"},
}};

constexpr std::array<TextPair, 4> kCompSliders = {{
    {"阀(阈)", "Threshold"},
    {"衰减比例", "Ratio"},
    {"启动时间", "Attack time"},
    {"释放时间", "Release time"},
}};

template <size_t N> TextPair Pick(const std::array<TextPair, N>& table, int i)
{
    return i >= 0 && static_cast<size_t>(i) < N ? table[static_cast<size_t>(i)] : TextPair{"", ""};
}
} // namespace

TextPair DelayChannelCaption(int channel)
{
    return Pick(kCaptions, channel);
}

TextPair DelayChartRowName(int channel)
{
    return Pick(kChartNames, channel);
}

TextPair CompGroupSwitchText(int group)
{
    return Pick(kCompSwitches, group);
}

TextPair CompSliderCaption(int slider)
{
    return Pick(kCompSliders, slider);
}
