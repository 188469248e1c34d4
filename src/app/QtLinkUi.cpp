#include "app/QtLinkUi.h"

#include "app/CMainFrame.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QThread>
#include <QWidget>

namespace {
bool OnWindowThread()
{
    return QThread::currentThread() == QCoreApplication::instance()->thread();
}
} // namespace

QtLinkUi::QtLinkUi(QWidget* owner) : owner_(owner)
{
    SetLinkUi(this);
}

QtLinkUi::~QtLinkUi()
{
    SetLinkUi(nullptr);
}

void QtLinkUi::Box(const QString& text, const QString& caption, LinkBoxIcon icon)
{
    const QMessageBox::Icon boxIcon = icon == LinkBoxIcon::Error     ? QMessageBox::Critical
                                      : icon == LinkBoxIcon::Warning ? QMessageBox::Warning
                                                                     : QMessageBox::NoIcon;
    QMessageBox box(boxIcon, caption.isEmpty() ? QString(kWindowTitle) : caption, text,
                    QMessageBox::Ok, owner_);
    box.exec();
}

void QtLinkUi::ShowMessageBox(const std::string& text, const std::string& caption, LinkBoxIcon icon)
{
    const QString t = QString::fromStdString(text);
    const QString c = QString::fromStdString(caption);
    if (OnWindowThread()) {
        Box(t, c, icon);
        return;
    }
    QMetaObject::invokeMethod(
        this, [this, t, c, icon] { Box(t, c, icon); }, Qt::BlockingQueuedConnection);
}

void QtLinkUi::Deliver(int message, uintptr_t wParam)
{
    if (handler_) {
        handler_(message, wParam);
    }
}

void QtLinkUi::SendViewMessage(int message, uintptr_t wParam)
{
    if (OnWindowThread()) {
        Deliver(message, wParam);
        return;
    }
    QMetaObject::invokeMethod(
        this, [this, message, wParam] { Deliver(message, wParam); }, Qt::BlockingQueuedConnection);
}

void QtLinkUi::PostViewMessage(int message, uintptr_t wParam)
{
    QMetaObject::invokeMethod(
        this, [this, message, wParam] { Deliver(message, wParam); }, Qt::QueuedConnection);
}
