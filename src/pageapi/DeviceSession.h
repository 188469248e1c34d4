#pragma once
// What the shell reads from the device link and asks of it. The connection controller
// implements it over the link state; DisconnectedSession stands in while there is none, and
// behaves as the program does with no processor attached.

#include <cstdint>
#include <string>

class UiPort;

class DeviceSession
{
public:
    virtual ~DeviceSession() = default;

    // The main view exists: start the first connection attempt.
    virtual void Start() {}

    virtual bool IsConnected() const = 0;
    virtual int CurrentMode() const = 0; // 0..3
    virtual std::string ModeName(int mode) const = 0;
    // Byte offset (0..14) of the last status block; 0 when there is none.
    virtual uint8_t StatusByte(int offset) const = 0;
    // The processor's highest allowed mic and music volumes (committed machine settings).
    virtual int MicMaxVolume() const = 0;
    virtual int MusicMaxVolume() const = 0;

    virtual std::string Model() const = 0;
    virtual std::string McuVersion() const = 0;
    virtual std::string DspVersion() const = 0;
    virtual int CmdVersion() const = 0;
    virtual bool PeakPolling() const = 0;
    virtual void SetPeakPolling(bool on) = 0;

    // The synchronisation wait dialog is shown.
    virtual bool SyncDialogShown() const { return false; }
    // The F-keys act only while the link is open and no wait dialog is shown.
    virtual bool AcceptsModeKeys() const { return IsConnected() && !SyncDialogShown(); }

    // Mode commands; fromKey selects the keyboard variant of the timings.
    virtual void RecallMode(int mode) = 0;
    virtual void StoreMode(int mode, bool fromKey) = 0;
    // F1..F4 (mode 0..3): with the left Ctrl key held stores, otherwise recalls.
    virtual void OnModeKey(int mode, bool leftCtrl)
    {
        if (leftCtrl) {
            StoreMode(mode, true);
        } else {
            RecallMode(mode);
        }
    }
    virtual void LoadModeFile() = 0;
    virtual void SaveModeFile() = 0;
    // A mode file named on the command line, by the shell or from the recent-file list.
    virtual void OpenDocument(const std::string& path) = 0;
    virtual void RestartProcessor() = 0;

    // The main window is closing: false keeps the program running (Cancel in the prompt).
    virtual bool ConfirmClose() = 0;
    // Last step of closing: say goodbye to the processor and close the link.
    virtual void Shutdown() = 0;

    // A message from the link to the main view (MSG_SYNC_DONE; MSG_REMOTE_KEY goes to the
    // remote-control window).
    virtual void OnViewMessage(int message, uintptr_t wParam)
    {
        (void)message;
        (void)wParam;
    }
};
