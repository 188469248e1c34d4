#pragma once
// What the link needs from the window side: message boxes and the two messages to the main
// view. The shell installs its implementation at start-up; until then (and in the command-line
// tool) boxes are only traced and messages go nowhere.

#include <cstdint>
#include <string>

inline constexpr int MSG_REMOTE_KEY = 1001; // wParam = the learned key byte; sent synchronously
inline constexpr int MSG_SYNC_DONE = 1002;  // wParam 0 after a read, 1 after a write; posted

enum class LinkBoxIcon
{
    None,
    Warning,
    Error,
};

class LinkUi
{
public:
    virtual ~LinkUi() = default;
    // A box with no owner and an OK button; returns when the user has closed it. May be
    // called from the read thread.
    virtual void ShowMessageBox(const std::string& text, const std::string& caption,
                                LinkBoxIcon icon) = 0;
    // Delivers a message to the main view and returns only after it has been handled.
    virtual void SendViewMessage(int message, uintptr_t wParam) = 0;
    // Queues a message for the main view and returns at once.
    virtual void PostViewMessage(int message, uintptr_t wParam) = 0;
};

// The main view's hooks; nullptr detaches. Safe to call from any thread, but the object must
// outlive every link thread that may still use it.
void SetLinkUi(LinkUi* ui);
LinkUi* CurrentLinkUi();

// Helpers used by the link code: they do nothing but trace when no UI is attached.
void LinkMessageBox(const std::string& text, const std::string& caption, LinkBoxIcon icon);
void LinkSendViewMessage(int message, uintptr_t wParam);
void LinkPostViewMessage(int message, uintptr_t wParam);
