#pragma once
// What the ribbon's master controls do: the machine-settings limits, the store and write of
// each change, the notices, the keyboard steps and the label texts. The ribbon widgets only
// show the values this class leaves in the parameter store.

#include "app/MasterWrites.h"

#include <QString>

#include <functional>

class MasterControls
{
public:
    struct Hooks
    {
        std::function<void(const QString& text, int ms)> showInfo;
        std::function<int()> micMax;   // highest mic volume allowed by the processor
        std::function<int()> musicMax; // highest music volume
        PauseFn pause;                 // the pause between the music fade-in steps
    };

    explicit MasterControls(Hooks hooks);

    // A volume slider reached position: applies the limit, stores, writes, warns when the
    // channel is muted. Returns the value both copies must show.
    int MoveVolume(MasterVolume channel, int position);
    int MoveInputLevel(MusicInput input, int position);
    int MoveNoiseGate(int position);
    int MovePitch(int position);

    // Toggles a mute; fromKey adds the notice when the mute goes on. Returns the new state.
    bool ToggleMute(MasterVolume channel, bool fromKey);
    bool ToggleInput(MusicInput input);

    // A volume key: one step up or down from the stored value, then as a slider move.
    int StepVolume(MasterVolume channel, bool up, bool leftCtrl);
    // The key step for a stored value: 1 with left Ctrl, else 5 below 50 and 2 from 50.
    static int KeyStep(int stored, bool leftCtrl);

    static int Volume(MasterVolume channel);
    static bool Muted(MasterVolume channel);
    static int InputLevel(MusicInput input);
    static bool InputOn(MusicInput input);
    static int NoiseGate();
    static int Pitch();

    // "%s%3d" value labels and the "%s%+-d" pitch caption, in the current language.
    static QString VolumeLabel(MasterVolume channel, int value);
    // afterMove: the English prefix reads "Input Vol:" after a move, "Input vol:" after a
    // full refresh.
    static QString InputLabel(int value, bool afterMove);
    static QString NoiseGateLabel(int value);
    static QString PitchCaption(int value);

private:
    Hooks hooks_;
};
