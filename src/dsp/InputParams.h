#pragma once
// The echo and reverb parameter list of the input page without its widgets: the eight rows,
// how each reads its value from the parameter store, formats it, which range its slider has,
// and what setting it does.

#include "i18n/Language.h"

#include <string>

inline constexpr int kInputParamRows = 8;

enum InputParamRow : int
{
    PARAM_REVERB_LEVEL = 0,
    PARAM_REVERB_PREDELAY,
    PARAM_REVERB_TIME,
    PARAM_ECHO_LEVEL,
    PARAM_ECHO_PREDELAY,
    PARAM_ECHO_TIME,
    PARAM_ECHO_DECAY,
    PARAM_SHIFT,
};

struct ParamRange
{
    int minimum;
    int maximum;
};

// Row name ("混响电平" / "Reverb Level"); rows outside 0..7 give an empty pair.
TextPair InputParamName(int row);
// The slider range of a row.
ParamRange InputParamRange(int row);
// The row's value for mic channel 0 (A) or 1 (B): its cell truncated to an integer, the sum of
// the two halves for the predelays.
int InputParamValue(int row, int channel);
// The row's value text in the current language ("40ms", "5000ms", "关闭" / "Off", ...).
std::string InputParamText(int row, int value);

// What ApplyInputParam asks the page to do besides rewriting the row.
struct ParamApplyResult
{
    // A notice for the information pop-up (1100 ms), or nullptr.
    const TextPair* notice = nullptr;
    // The echo time of 2..6 ms also set the reverb predelay to this many ms (0: untouched).
    int reverbPredelay = 0;
};

// Sets row `row` of mic channel `channel` to v through its setter. Rows outside 0..7 do
// nothing.
ParamApplyResult ApplyInputParam(int row, int channel, int v);

inline constexpr int kParamNoticeMs = 1100;
