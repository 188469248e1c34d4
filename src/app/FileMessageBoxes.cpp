#include "app/FileMessageBoxes.h"

#include "link/controller/UiPort.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

FileMessageBoxes::FileMessageBoxes(UiPort& ui) : ui_(ui) {}

void FileMessageBoxes::Warning(const std::string& caption, const std::string& text)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr || QThread::currentThread() == app->thread()) {
        ui_.AskUser(text, caption, UiButtons::Ok, UiIcon::Warning);
        return;
    }
    QMetaObject::invokeMethod(
        app, [this, caption, text] { ui_.AskUser(text, caption, UiButtons::Ok, UiIcon::Warning); },
        Qt::BlockingQueuedConnection);
}
