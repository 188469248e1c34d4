#pragma once
// The keyboard commands of the main window, seen before any window gets the key: an
// application-wide event filter. Only the listed keys are acted on; the volume and mute
// letters go on to their window afterwards, the function keys and accelerators do not.

#include "app/MasterWrites.h"

#include <QObject>
#include <QPointer>

class QKeyEvent;

// What the keys ask for; the main view decides whether the condition of each holds.
class ShortcutTarget
{
public:
    virtual ~ShortcutTarget() = default;
    virtual void OnRecallModeKey(int mode) = 0;
    virtual void OnStoreModeKey(int mode) = 0;
    virtual void OnNoiseGateKey() = 0;
    virtual void OnMachineSettingsKey() = 0;
    virtual void OnPickBandKey(int band) = 0;
    virtual void OnBypassKey() = 0;
    virtual void OnVolumeKey(MasterVolume channel, bool up, bool leftCtrl) = 0;
    virtual void OnMuteKey(MasterVolume channel) = 0;
    virtual void OnOpenKey() = 0;
    virtual void OnSaveKey() = 0;
};

class ShortcutFilter : public QObject
{
public:
    explicit ShortcutFilter(ShortcutTarget& target, QObject* parent = nullptr);

    bool eventFilter(QObject* watched, QEvent* event) override;

    // True while the left Ctrl key is held (a Ctrl modifier without a known right Ctrl
    // press counts as left).
    bool LeftCtrlHeld(const QKeyEvent& event) const;

private:
    bool FirstDelivery(QObject* receiver, const QEvent* event);
    void TrackCtrl(const QKeyEvent& event);
    bool HandlePress(const QKeyEvent& event);
    bool HandleRelease(const QKeyEvent& event);

    ShortcutTarget& target_;
    bool leftCtrlDown_ = false;
    bool rightCtrlDown_ = false;
    const QEvent* windowEvent_ = nullptr;
    const QEvent* widgetEvent_ = nullptr;
    QPointer<QObject> widgetReceiver_;
};
