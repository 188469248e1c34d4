#pragma once
// The stores and DSP writes of the ribbon's master controls: each call stores the value in
// the parameter store first and then writes the matching DSP parameter, so editing with no
// processor still changes the PC copy.

#include <functional>

enum class MasterVolume { Mic, Reverb, Echo, Music };
enum class MusicInput { Spdif, Aux1, Aux2 };

// Pauses the calling thread; the music fade-in uses it between its steps.
using PauseFn = std::function<void(int ms)>;

void SetMasterVolume(MasterVolume channel, int position);
void SetMasterMute(MasterVolume channel, bool muted, const PauseFn& pause);
void SetMusicInputLevel(MusicInput input, int position);
void SetMusicInputOn(MusicInput input, bool on);
void SetMusicNoiseGate(int position);
// The pitch uses the model's SetMusicPitch (model/Setters.h).

int MasterVolumeCell(MasterVolume channel);
int MasterMuteCell(MasterVolume channel);
int MusicInputLevelCell(MusicInput input);
int MusicInputOnCell(MusicInput input);
