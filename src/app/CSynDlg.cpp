#include "app/CSynDlg.h"

#include "app/AppText.h"

#include <QVBoxLayout>

CSynDlg::CSynDlg(QWidget* parent, std::function<void()> onTimeout, int timeoutMs, int stepMs)
    : QDialog(parent), bar_(new QProgressBar(this)), text_(new QLabel(this)),
      onTimeout_(std::move(onTimeout))
{
    setObjectName("CSynDlg");
    setWindowTitle(PairText("同步过程", "Synchronize"));
    setModal(true);
    setCursor(Qt::WaitCursor);
    text_->setObjectName("syn1218");
    bar_->setObjectName("syn1217");
    text_->setText(PairText("当前正在与机器同步数据,请稍后......", "Please wait a moment……"));
    bar_->setRange(0, 100);
    bar_->setValue(0);
    bar_->setTextVisible(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 20);
    layout->addWidget(text_);
    layout->addSpacing(10);
    layout->addWidget(bar_);
    setMinimumWidth(380);

    if (timeoutMs <= 0) {
        return;
    }
    stepTimer_.setInterval(stepMs);
    connect(&stepTimer_, &QTimer::timeout, this, &CSynDlg::Step);
    stepTimer_.start();
    timeoutTimer_.setSingleShot(true);
    connect(&timeoutTimer_, &QTimer::timeout, this, &CSynDlg::TimedOut);
    timeoutTimer_.start(timeoutMs);
}

void CSynDlg::SetTexts(const QString& title, const QString& text)
{
    setWindowTitle(title);
    text_->setText(text);
}

void CSynDlg::Step()
{
    const int next = bar_->value() + 10;
    bar_->setValue(next > 100 ? 0 : next);
}

void CSynDlg::Finish()
{
    stepTimer_.stop();
    timeoutTimer_.stop();
    reject();
}

void CSynDlg::TimedOut()
{
    stepTimer_.stop();
    timeoutTimer_.stop();
    reject();
    if (onTimeout_) {
        onTimeout_();
    }
}
