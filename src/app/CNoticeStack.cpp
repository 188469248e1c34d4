#include "app/CNoticeStack.h"

#include <QEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMouseEvent>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

namespace {
constexpr int kMargin = 12;
constexpr int kGap = 6;
constexpr int kWidth = 300;
} // namespace

CNoticeStack::CNoticeStack(QWidget& host) : QObject(&host), host_(host)
{
    host_.installEventFilter(this);
}

CNoticeStack::~CNoticeStack()
{
    host_.removeEventFilter(this);
    Clear();
}

void CNoticeStack::Add(const QString& title, const QString& text, int ms)
{
    auto* notice = new QFrame(&host_);
    notice->setObjectName("notice");
    notice->setFrameShape(QFrame::StyledPanel);
    notice->setAutoFillBackground(true);
    notice->setCursor(Qt::PointingHandCursor);
    notice->setToolTip(text);
    auto* layout = new QVBoxLayout(notice);
    layout->setContentsMargins(12, 8, 12, 10);
    layout->setSpacing(4);
    auto* heading = new QLabel(title, notice);
    heading->setObjectName("noticeTitle");
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    auto* body = new QLabel(text, notice);
    body->setObjectName("noticeText");
    body->setWordWrap(true);
    layout->addWidget(heading);
    layout->addWidget(body);
    notice->setFixedWidth(kWidth);
    notice->setFixedHeight(notice->heightForWidth(kWidth) > 0 ? notice->heightForWidth(kWidth)
                                                              : notice->sizeHint().height());
    notice->installEventFilter(this);

    auto* timer = new QTimer(notice);
    timer->setSingleShot(true);
    connect(timer, &QTimer::timeout, this, [this, notice] { Remove(notice); });
    timer->start(ms);

    notices_.append(notice);
    Place();
    notice->show();
    notice->raise();
}

void CNoticeStack::Clear()
{
    const auto all = notices_;
    notices_.clear();
    for (const QPointer<QFrame>& notice : all) {
        delete notice.data();
    }
}

QStringList CNoticeStack::Texts() const
{
    QStringList texts;
    for (const QPointer<QFrame>& notice : notices_) {
        if (notice) {
            texts << notice->findChild<QLabel*>("noticeText")->text();
        }
    }
    return texts;
}

QList<QFrame*> CNoticeStack::Notices() const
{
    QList<QFrame*> list;
    for (const QPointer<QFrame>& notice : notices_) {
        if (notice) {
            list << notice.data();
        }
    }
    return list;
}

void CNoticeStack::Remove(QFrame* notice)
{
    notices_.removeAll(QPointer<QFrame>(notice));
    notice->hide();
    notice->deleteLater();
    Place();
}

void CNoticeStack::Place()
{
    // The corner above the status bar; the newest notice lowest, older ones above it.
    int bottom = host_.height() - kMargin;
    if (auto* window = qobject_cast<QMainWindow*>(&host_)) {
        if (QWidget* status = window->statusBar(); status && status->isVisible()) {
            bottom = status->geometry().top() - kMargin;
        }
    }
    const int left = host_.width() - kWidth - kMargin;
    for (auto it = notices_.crbegin(); it != notices_.crend(); ++it) {
        QFrame* notice = *it;
        if (!notice) {
            continue;
        }
        notice->move(left, bottom - notice->height());
        notice->raise();
        bottom -= notice->height() + kGap;
    }
}

bool CNoticeStack::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &host_) {
        if (event->type() == QEvent::Resize || event->type() == QEvent::LayoutRequest) {
            Place();
        }
        return false;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        if (auto* notice = qobject_cast<QFrame*>(watched);
            notice && notices_.contains(QPointer<QFrame>(notice))) {
            Remove(notice);
            return true;
        }
    }
    return false;
}
