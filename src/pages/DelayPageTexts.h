#pragma once
// Texts of the delay and compressor pages that code draws or that serve as built-in captions
// before the language table is applied.

#include "i18n/Language.h"

// Channel captions of the delay rows, in row order ("前置左" / "Main L", ...).
TextPair DelayChannelCaption(int channel);
// Row names on the delay chart ("前置左(ML)", ...).
TextPair DelayChartRowName(int channel);

inline constexpr TextPair kDelaySwitchText{"开关", "ON"};
inline constexpr TextPair kDelayHighFreqText{"高频延时", "High Freq "};
inline constexpr TextPair kDelayChannelText{"通道延时", "Channel"};

// Compressor groups in shown order: the on/off box ("前置压限启用" / "Main Comp ON", ...).
TextPair CompGroupSwitchText(int group);
// Slider captions: threshold, ratio, attack, release.
TextPair CompSliderCaption(int slider);
