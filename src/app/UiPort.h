#pragma once
// What the connection controller asks of the user interface: balloons, message boxes, the
// information pop-up, the synchronisation dialog, the mode-file dialogs and the refreshes.
// Plain C++ (UTF-8 texts) so the controller needs no toolkit; the shell implements it with Qt.

#include <string>

enum class UiButtons
{
    Ok,
    YesNo,
    YesNoCancel
};
enum class UiIcon
{
    Information,
    Question,
    Warning,
    Error
};
enum class UiAnswer
{
    Ok,
    Yes,
    No,
    Cancel
};

class UiPort
{
public:
    virtual ~UiPort() = default;

    // Notification-area balloon with the information icon, removed after displayMs.
    virtual void ShowBalloon(const std::string& title, const std::string& text, int displayMs) = 0;
    virtual void HideBalloon() = 0;

    // A modal box; returns the button chosen (Cancel or No when closed otherwise).
    virtual UiAnswer AskUser(const std::string& text, const std::string& caption, UiButtons buttons,
                             UiIcon icon) = 0;

    // The auto-closing information pop-up.
    virtual void ShowInfo(const std::string& text, int displayMs) = 0;

    // Shows the synchronisation dialog modally and returns when it closes (closed by
    // CloseSyncDialog or by its own time-out). Does nothing when one is already shown.
    virtual void ShowSyncDialog() = 0;
    virtual void CloseSyncDialog() = 0;
    virtual bool SyncDialogOpen() const = 0;

    // Mode-file dialogs; an empty result means cancelled.
    virtual std::string AskOpenModeFile() = 0;
    virtual std::string AskSaveModeFile(const std::string& defaultName) = 0;
    virtual void AddRecentFile(const std::string& path) = 0;

    // Redraw the ribbon, the current page and the open tool windows from the stores.
    virtual void RefreshAll() = 0;
    virtual void CloseToolWindows() = 0;
    // Re-reads the music-source caption from the status block.
    virtual void RefreshMusicSource() = 0;

    virtual int Language() const = 0;
};
