#include "app/CAboutDlg.h"

#include "app/AppIcons.h"
#include "app/AppText.h"
#include "app/DeviceSession.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QVBoxLayout>

CAboutDlg::CAboutDlg(DeviceSession& session, QWidget* parent)
    : QDialog(parent), session_(session), text1005_(new QLabel(this)), text1006_(new QLabel(this)),
      text1007_(new QLabel(this)), box1045_(new QCheckBox("Peak", this))
{
    setObjectName("CAboutDlg");
    setWindowTitle(PairText("关于 DSP-4620-v3.3", "About DSP-4620-v3.3"));
    text1005_->setObjectName("about1005");
    text1006_->setObjectName("about1006");
    text1007_->setObjectName("about1007");
    box1045_->setObjectName("about1045");

    auto* icon = new QLabel(this);
    icon->setPixmap(AppIcon().pixmap(64, 64));
    auto* name = new QLabel("DSP-4620-v3.3", this);
    name->setObjectName("aboutTitle");
    auto* sub =
        new QLabel(PairText("数字音频处理器控制程序", "Digital audio processor control"), this);
    auto* ok = new QPushButton(PairText("确定", "OK"), this);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* texts = new QVBoxLayout;
    texts->addWidget(name);
    texts->addWidget(sub);
    texts->addSpacing(8);
    texts->addWidget(text1005_);
    texts->addWidget(text1007_);
    texts->addWidget(text1006_);
    texts->addWidget(box1045_);
    texts->addStretch(1);
    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(texts, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 20, 20, 14);
    layout->addLayout(top);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    layout->addLayout(buttons);

    text1005_->hide();
    text1006_->hide();
    text1007_->hide();
    box1045_->hide();
    if (session_.IsConnected()) {
        text1005_->setText(QString("Module:%1").arg(QString::fromStdString(session_.Model())));
        text1007_->setText(QString("MCU Ver:%1 CMD Ver:%2")
                               .arg(QString::fromStdString(session_.McuVersion()))
                               .arg(session_.CmdVersion(), 2, 10, QChar('0')));
        text1006_->setText(
            QString("DSP Ver:%1").arg(QString::fromStdString(session_.DspVersion())));
        text1007_->show();
        text1006_->show();
    }
    box1045_->setChecked(session_.PeakPolling());
    connect(box1045_, &QCheckBox::clicked, this, [this](bool on) { session_.SetPeakPolling(on); });
    setMinimumWidth(380);
}

void CAboutDlg::keyReleaseEvent(QKeyEvent* event)
{
    const auto mods = event->modifiers();
    if (event->key() == Qt::Key_F11 && (mods & Qt::ControlModifier) && (mods & Qt::ShiftModifier)) {
        text1005_->show();
        box1045_->show();
        event->accept();
        return;
    }
    QDialog::keyReleaseEvent(event);
}
