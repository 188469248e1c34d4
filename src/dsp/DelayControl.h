#pragma once
// The delay rules of the eight speaker channels as the delay page (and any other front end)
// applies them: which delayed side each channel row is, how a typed, stepped or dragged delay
// is limited, when it is sent, and the switch, mode and split-step edits.

#include "dsp/Crossover.h"

#include <string>

// The channel rows in the order they are shown: Main L, Main R, Center, Sub, Rear L, Rear R,
// Top L, Top R. This differs from the order of DelaySide.
inline constexpr int kDelayChannelCount = 8;

enum DelayChannel : int
{
    DELAY_CH_MAIN_L = 0,
    DELAY_CH_MAIN_R,
    DELAY_CH_CENTER,
    DELAY_CH_SUB,
    DELAY_CH_REAR_L,
    DELAY_CH_REAR_R,
    DELAY_CH_TOP_L,
    DELAY_CH_TOP_R,
};

// The delayed side of a channel row (DELAY_SIDE_COUNT for a row outside 0..7).
DelaySide DelaySideOfChannel(int channel);
// The row of a delayed side (-1 for a bad side).
int DelayChannelOfSide(DelaySide side);

// Delays run from 1.5 to 100.0 ms in steps of 0.1 ms.
inline constexpr float kDelayMinMs = 1.5f;
inline constexpr float kDelayMaxMs = 100.0f;
inline constexpr int kDelayTenthsMin = 15;
inline constexpr int kDelayTenthsMax = 1000;

// A delay held within 1.5..100.0 ms and rounded to the nearest 0.1 ms; a non-finite value
// becomes 1.5 ms.
float LimitDelayMs(double ms);
// The delay a typed text gives: its leading number (text that does not read as a number reads
// as 0), limited as above. "12.5ms" reads as 12.5.
float DelayFromText(const std::string& text);
// The delay `steps` steps of 0.1 ms away from `ms`, limited.
float StepDelay(float ms, int steps);
// "%.1fms".
std::string DelayText(float ms);

// What the channel's cells hold: its delay (ms), whether its switch is on (cell 0), its mode
// (0 high-frequency split, 1 whole channel) and its split step (from the first split stage's
// stored frequency; 0 for a frequency not in the table).
float ChannelDelay(int channel);
bool ChannelDelayOn(int channel);
int ChannelDelayMode(int channel);
int ChannelSplitStep(int channel);

// Limits `ms` as LimitDelayMs and, when it differs from the channel's delay cell, stores it and
// sends it in samples through SetDelay. Returns the limited delay; `sent` (when given) tells
// whether anything was sent.
float ApplyChannelDelay(int channel, double ms, bool* sent = nullptr);
// The "ON" box: on stores and sends 0, off 1 (SetDelayOff).
void SetChannelDelayOn(int channel, bool on);
// The mode radios: stores and sends the mode and rebuilds the split stages (SetDelayMode).
void SetChannelDelayMode(int channel, int mode);
// The split slider: the two split stages become the high pass and low pass of `step` (limited
// to 0..25). Returns the high-pass frequency of the step.
int SetChannelSplitStep(int channel, int step);
// The high-pass frequency of a split step (limited to 0..25): 500 + 100 step Hz.
int SplitStepHz(int step);

// Which controls of a row take input: the mode radios, caption, edit box and spin button while
// the switch is on; the split slider and its frequency text only while the switch is on and
// the mode is the high-frequency split.
struct DelayRowEnabling
{
    bool controls = false;
    bool split = false;
};
DelayRowEnabling DelayRowEnabled(bool on, int mode);
