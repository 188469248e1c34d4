#pragma once
// Setters of the plain cells: each stores the new value (after its clamp) and then sends
// every DSP parameter the cell feeds. They never fail: with no processor attached the value
// is only stored. Compressors, delays and their switches and modes, speaker levels, the mic
// boost level, the music mute (with its fade) and the EQ bands have their setters in the DSP
// layer.

#include <cstdint>

// Stores a plain cell and sends its DSP parameters. Cells with a rule of their own (frequency
// shift, echo time, reverb time, pitch, music AGC, mic boost switch) go through that rule.
// Returns false and changes nothing for a cell that is not set this way: the predelay halves,
// the frequency-shift off flags, and the cells whose setters live in the DSP layer.
bool SetParamCell(int cell, int32_t value);
// The same for the float cells (reverb time, music AGC level); an integer cell takes the
// value truncated. Non-finite values are ignored.
bool SetParamCellFloat(int cell, float value);

// channel: 0 = A, 1 = B throughout.
void SetEchoTime(int channel, int ms);              // at least 2 ms, stored as a float
void SetEchoPredelay(int channel, float totalMs);   // at least 3.0 in total, half per cell
void SetReverbPredelay(int channel, float totalMs); // at least 3.0 in total, half per cell
void SetReverbTime(int channel, float hundredths);  // float(v / 100) to both parameters
void SetFrequencyShift(int channel, int hz);        // 1 = off; outside 1..8 stored as off
void SetMusicPitch(int steps);                      // -5..5, sent as steps + 5
void SetMusicAgcOn(int on);                         // only while the command set is 9 or newer
void SetMusicAgcLevel(float dB);                    // only while the command set is 9 or newer
void SetMicBoostOn(int on); // cell 181 and its copy 182, sent inverted to (1,65), (1,69)

// Noise gates. The dialog passes the stored form of the times (101 - slider).
void SetMicPortNoiseGate(int port /*0..3*/, int value);
void SetMicNoiseGateAttack(int stored);
void SetMicNoiseGateRelease(int stored);
void SetMusicNoiseGateThreshold(int value);
void SetMusicNoiseGateAttack(int stored);
void SetMusicNoiseGateRelease(int stored);

// Named forms of common plain cells.
void SetMicVolume(int percent);   // (1,20) and (1,33)
void SetMicMute(int muted);       // (1,32) and (1,45)
void SetMusicVolume(int percent); // (4,11) six copies
void SetEchoVolume(int percent);
void SetEchoMute(int muted);
void SetReverbVolume(int percent);
void SetReverbMute(int muted);
void SetMicPortRouting(int port /*0..3*/, int channel); // 100 into one channel, 0 the other
void SetMicPortVolume(int port /*0..3*/, int percent);
