#pragma once
// The link's hooks into the window side: its message boxes and its messages to the main
// view, carried to the window thread whichever thread they come from.

#include "link/LinkUi.h"

#include <QObject>

#include <functional>

class QWidget;

class QtLinkUi : public QObject, public LinkUi
{
    Q_OBJECT
public:
    using MessageHandler = std::function<void(int message, uintptr_t wParam)>;

    explicit QtLinkUi(QWidget* owner);
    ~QtLinkUi() override;

    // Who handles MSG_REMOTE_KEY and MSG_SYNC_DONE (the connection controller, the remote
    // window); messages without a handler are dropped.
    void SetMessageHandler(MessageHandler handler) { handler_ = std::move(handler); }

    void ShowMessageBox(const std::string& text, const std::string& caption,
                        LinkBoxIcon icon) override;
    void SendViewMessage(int message, uintptr_t wParam) override;
    void PostViewMessage(int message, uintptr_t wParam) override;

private:
    void Deliver(int message, uintptr_t wParam);
    void Box(const QString& text, const QString& caption, LinkBoxIcon icon);

    QWidget* owner_;
    MessageHandler handler_;
};
