#include "app/CInfoDlg.h"

#include "app/AppText.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

CInfoDlg::CInfoDlg(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint), text_(new QLabel(this)),
      close_(new QPushButton(this))
{
    setObjectName("CInfoDlg");
    setAttribute(Qt::WA_ShowWithoutActivating);
    setModal(false);
    text_->setObjectName("info1223");
    close_->setObjectName("info2");
    QFont font("宋体");
    font.setPixelSize(18);
    font.setWeight(QFont::Medium);
    text_->setFont(font);
    text_->setAlignment(Qt::AlignCenter);
    text_->setWordWrap(true);
    text_->setMinimumWidth(260);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 16, 18, 12);
    layout->addWidget(text_, 1);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(close_);
    layout->addLayout(row);

    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &QDialog::hide);
    connect(close_, &QPushButton::clicked, this, [this] {
        timer_.stop();
        hide();
    });
    Relabel();
}

void CInfoDlg::Relabel()
{
    setWindowTitle(PairText("信息", "Information"));
    close_->setText(PairText("关闭", "Close"));
}

void CInfoDlg::ShowInfo(const QString& text, int ms)
{
    Relabel();
    text_->setText(text);
    adjustSize();
    if (!isVisible() && parentWidget()) {
        const QRect frame = parentWidget()->window()->geometry();
        move(frame.center() - QPoint(width() / 2, height() / 2));
    }
    show();
    raise();
    timer_.start(ms);
}
