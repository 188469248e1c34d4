#include "app/ShortcutFilter.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWidget>
#include <QWindow>

namespace {
// The X11 key symbol and evdev scan code of the right Ctrl key.
constexpr quint32 kXkControlR = 0xffe4;
constexpr quint32 kScanControlR = 105;

bool IsKeyEvent(const QEvent* event)
{
    return event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease;
}

// Typing into a text field must not turn volumes.
bool FocusTakesText()
{
    QWidget* focus = QApplication::focusWidget();
    if (!focus) {
        return false;
    }
    if (qobject_cast<QLineEdit*>(focus) || qobject_cast<QTextEdit*>(focus) ||
        qobject_cast<QPlainTextEdit*>(focus) || qobject_cast<QAbstractSpinBox*>(focus)) {
        return true;
    }
    auto* combo = qobject_cast<QComboBox*>(focus);
    return combo && combo->isEditable();
}

// Message boxes, file dialogs and open menus keep their keys, as system boxes do.
bool SystemBoxActive()
{
    if (QApplication::activePopupWidget()) {
        return true;
    }
    QWidget* modal = QApplication::activeModalWidget();
    return qobject_cast<QMessageBox*>(modal) || qobject_cast<QFileDialog*>(modal);
}

// F1..F4 are mode keys alone or with Ctrl only; with Alt, Shift or the system key they
// belong to the window manager and the window (Alt+F4 closes the window).
bool ModeKeyModifiers(const QKeyEvent& event)
{
    const Qt::KeyboardModifiers others =
        event.modifiers() & ~(Qt::ControlModifier | Qt::KeypadModifier);
    return others == Qt::NoModifier;
}

bool IsAncestorOf(const QObject* ancestor, const QObject* child)
{
    for (const QObject* o = child ? child->parent() : nullptr; o; o = o->parent()) {
        if (o == ancestor) {
            return true;
        }
    }
    return false;
}
} // namespace

ShortcutFilter::ShortcutFilter(ShortcutTarget& target, QObject* parent)
    : QObject(parent), target_(target)
{
}

bool ShortcutFilter::FirstDelivery(QObject* receiver, const QEvent* event)
{
    // One key event passes the filter several times: at the window, at the focus widget
    // and at each parent it propagates to. Act only on its first appearance.
    if (receiver->isWindowType()) {
        windowEvent_ = event;
        widgetEvent_ = nullptr;
        return true;
    }
    if (!receiver->isWidgetType()) {
        return false;
    }
    if (event == windowEvent_) {
        return false;
    }
    if (event == widgetEvent_ && widgetReceiver_ && IsAncestorOf(receiver, widgetReceiver_)) {
        widgetReceiver_ = receiver;
        return false;
    }
    widgetEvent_ = event;
    widgetReceiver_ = receiver;
    return true;
}

void ShortcutFilter::TrackCtrl(const QKeyEvent& event)
{
    if (event.key() == Qt::Key_Control) {
        const bool right =
            event.nativeVirtualKey() == kXkControlR ||
            (event.nativeVirtualKey() == 0 && event.nativeScanCode() == kScanControlR);
        const bool down = event.type() == QEvent::KeyPress;
        if (right) {
            rightCtrlDown_ = down;
        } else {
            leftCtrlDown_ = down;
        }
        return;
    }
    if (!(event.modifiers() & Qt::ControlModifier)) {
        leftCtrlDown_ = false;
        rightCtrlDown_ = false;
    }
}

bool ShortcutFilter::LeftCtrlHeld(const QKeyEvent& event) const
{
    if (!(event.modifiers() & Qt::ControlModifier)) {
        return false;
    }
    return leftCtrlDown_ || !rightCtrlDown_;
}

bool ShortcutFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (!IsKeyEvent(event) || !FirstDelivery(watched, event)) {
        return false;
    }
    const auto& key = *static_cast<QKeyEvent*>(event);
    TrackCtrl(key);
    if (SystemBoxActive()) {
        return false;
    }
    return event->type() == QEvent::KeyPress ? HandlePress(key) : HandleRelease(key);
}

bool ShortcutFilter::HandlePress(const QKeyEvent& event)
{
    const int k = event.key();
    const bool leftCtrl = LeftCtrlHeld(event);
    if (k >= Qt::Key_F1 && k <= Qt::Key_F4 && ModeKeyModifiers(event)) {
        const int mode = k - Qt::Key_F1;
        if (leftCtrl) {
            target_.OnStoreModeKey(mode);
        } else {
            target_.OnRecallModeKey(mode);
        }
        return true;
    }
    if ((k == Qt::Key_F6 || k == Qt::Key_F7) && ModeKeyModifiers(event)) {
        return true; // acted on when released
    }
    if (leftCtrl && k >= Qt::Key_0 && k <= Qt::Key_9) {
        target_.OnPickBandKey(k == Qt::Key_0 ? 9 : k - Qt::Key_1);
        return true;
    }
    if (event.modifiers() & Qt::AltModifier) {
        return false;
    }
    if (!FocusTakesText()) {
        switch (k) {
        case Qt::Key_Q:
            target_.OnVolumeKey(MasterVolume::Music, true, leftCtrl);
            break;
        case Qt::Key_A:
            target_.OnVolumeKey(MasterVolume::Music, false, leftCtrl);
            break;
        case Qt::Key_W:
            target_.OnVolumeKey(MasterVolume::Mic, true, leftCtrl);
            break;
        case Qt::Key_S:
            target_.OnVolumeKey(MasterVolume::Mic, false, leftCtrl);
            break;
        case Qt::Key_E:
            target_.OnVolumeKey(MasterVolume::Echo, true, leftCtrl);
            break;
        case Qt::Key_D:
            target_.OnVolumeKey(MasterVolume::Echo, false, leftCtrl);
            break;
        case Qt::Key_R:
            target_.OnVolumeKey(MasterVolume::Reverb, true, leftCtrl);
            break;
        case Qt::Key_F:
            target_.OnVolumeKey(MasterVolume::Reverb, false, leftCtrl);
            break;
        case Qt::Key_X:
            target_.OnMuteKey(MasterVolume::Mic);
            break;
        case Qt::Key_Z:
            target_.OnMuteKey(MasterVolume::Music);
            break;
        case Qt::Key_C:
            target_.OnMuteKey(MasterVolume::Echo);
            break;
        case Qt::Key_V:
            target_.OnMuteKey(MasterVolume::Reverb);
            break;
        case Qt::Key_P:
            target_.OnBypassKey();
            break;
        default:
            break;
        }
    }
    // The file accelerators (after the letter: Ctrl+S also lowers the mic volume).
    if (event.modifiers() & Qt::ControlModifier) {
        if (k == Qt::Key_O) {
            target_.OnOpenKey();
            return true;
        }
        if (k == Qt::Key_S) {
            target_.OnSaveKey();
            return true;
        }
    }
    return false;
}

bool ShortcutFilter::HandleRelease(const QKeyEvent& event)
{
    if (!ModeKeyModifiers(event)) {
        return false;
    }
    if (event.isAutoRepeat()) {
        return event.key() == Qt::Key_F6 || event.key() == Qt::Key_F7;
    }
    if (event.key() == Qt::Key_F6) {
        target_.OnNoiseGateKey();
        return true;
    }
    if (event.key() == Qt::Key_F7) {
        target_.OnMachineSettingsKey();
        return true;
    }
    return false;
}
