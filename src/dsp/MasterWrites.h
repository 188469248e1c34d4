#pragma once
// The ribbon's master controls in terms of the parameter setters: each call stores the value
// first and then writes the matching DSP parameters, so editing with no processor still
// changes the PC copy.

#include <functional>

enum class MasterVolume
{
    Mic,
    Reverb,
    Echo,
    Music
};
enum class MusicInput
{
    Spdif,
    Aux1,
    Aux2
};

// Pauses the calling thread; the music fade-in uses it between its steps (empty: sleep).
using PauseFn = std::function<void(int ms)>;

void SetMasterVolume(MasterVolume channel, int position);
void SetMasterMute(MasterVolume channel, bool muted, const PauseFn& pause);
void SetMusicInputLevel(MusicInput input, int position);
void SetMusicInputOn(MusicInput input, bool on);
void SetRibbonNoiseGate(int position);
void SetRibbonPitch(int position);

int MasterVolumeCell(MasterVolume channel);
int MasterMuteCell(MasterVolume channel);
int MusicInputLevelCell(MusicInput input);
int MusicInputOnCell(MusicInput input);
