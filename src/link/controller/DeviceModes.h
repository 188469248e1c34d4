#pragma once
// The processor's four user modes and the mode files: recall, store, reset, the pending mode
// chosen by a loaded file's name, mode-name writes, restart, loading and saving mode files
// and the changed-parameters prompt on exit. Runs on the controller's loop thread; what the
// user sees goes through the controller's UiPort.

#include <string>

class ConnectionController;

class DeviceModes
{
public:
    explicit DeviceModes(ConnectionController& controller) : controller_(controller) {}

    // Mode numbers are limited to 0..3 first. Recall, store, reset and restart do nothing
    // while the link is closed.
    void RecallMode(int mode);
    // fromKey: the Ctrl+F-key timings (notice first, then the pause) instead of the menu's.
    void StoreMode(int mode, bool fromKey);
    void ResetMode(int mode);
    // 0x03 n, a 20 ms pause, 0x04 n.
    void SelectAndStoreMode(int mode);
    // Command 0xDA and the local copy of the name at once.
    void WriteModeName(int mode, const std::u16string& name);
    void RestartProcessor();

    // The file dialog, then LoadModeFileNamed.
    void LoadModeFile();
    // Loading a chosen file: mode name, pending mode, write synchronisation. False when
    // nothing was sent (not connected, unreadable file).
    bool LoadModeFileNamed(const std::string& path);
    void SaveModeFile();
    // The shell's open-document entry (command line, recent-file list).
    void OpenDocument(const std::string& path);
    // False when the user chose Cancel.
    bool ConfirmClose();

    // After an accepted synchronisation: store into the pending mode, if any.
    void RunPendingMode();
    int PendingMode() const { return pendingMode_; }

private:
    bool SaveTo(const std::string& path);

    ConnectionController& controller_;
    int pendingMode_ = -1;
};
