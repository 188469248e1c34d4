#include "app/WindowPause.h"

#include <QEventLoop>
#include <QTimer>

void PauseRepainting(std::chrono::milliseconds span)
{
    if (span.count() <= 0) {
        return;
    }
    QEventLoop loop;
    QTimer::singleShot(span, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}
