#pragma once
// What the connection controller asks of the user interface. The controller decides every
// text, time and order; the port only shows things and reports the user's answers. Plain
// C++ with UTF-8 texts, so the controller needs no toolkit: the shell implements the port
// with Qt, tests with a recorder that answers questions.
//
// All calls come on the controller's loop thread. Calls that ask the user (AskUser, the file
// dialogs) may run a nested event loop, as modal boxes do; ShowSyncDialog may do so too and
// return only when the controller closes it again, or return at once.

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

    // The notification-area balloon (information icon). The controller removes it with
    // HideBalloon when displayMs have passed or the icon was clicked; displayMs is given for
    // presentation only.
    virtual void ShowBalloon(const std::string& title, const std::string& text, int displayMs) = 0;
    virtual void HideBalloon() = 0;

    // A modal message box; returns the button chosen (No, or Cancel where offered, when the
    // box was closed otherwise).
    virtual UiAnswer AskUser(const std::string& text, const std::string& caption, UiButtons buttons,
                             UiIcon icon) = 0;

    // The auto-closing information pop-up.
    virtual void ShowInfo(const std::string& text, int displayMs) = 0;

    // The synchronisation dialog (wait cursor, progress bar 0..100). The controller opens it
    // at most once at a time, steps its progress and closes it (on completion or time-out).
    virtual void ShowSyncDialog(const std::string& title, const std::string& text) = 0;
    virtual void SetSyncProgress(int percent) = 0;
    virtual void CloseSyncDialog() = 0;

    // Mode-file dialogs; an empty result means cancelled. Open: filter kModeFileOpenFilter
    // (files/ModeFile.h), no default name. Save: filter kModeFileSaveFilter, default
    // extension "W6v9", asks before overwriting. Both hide the read-only box.
    virtual std::string AskOpenModeFile() = 0;
    virtual std::string AskSaveModeFile(const std::string& defaultName) = 0;
    virtual void AddRecentFile(const std::string& path) = 0;

    // Redraw the ribbon, the current page and the open tool windows from the stores.
    virtual void RefreshAll() = 0;
    // Close the machine-settings, remote-control and features windows.
    virtual void CloseToolWindows() = 0;
    // Re-read the ribbon's music-source label from the status block.
    virtual void RefreshMusicSource() = 0;
};
