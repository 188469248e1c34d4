#include "app/CPlaceholderPage.h"

#include "app/AppText.h"
#include "pageapi/ApplyWindowLanguage.h"

#include <QVBoxLayout>

QString PageTitle(PageKind kind)
{
    switch (kind) {
    case PageKind::Music:
        return PairText("话筒与音乐输入", "Mic and music input");
    case PageKind::Efx:
        return PairText("回声与混响均衡", "Echo and reverb EQ");
    case PageKind::Output:
        return PairText("输出调节", "Output");
    case PageKind::Delay:
        return PairText("延时", "Delay");
    case PageKind::Comp:
        return PairText("压限器", "Compressor");
    case PageKind::SoundField:
        return PairText("声场", "Sound field");
    }
    return {};
}

int ToolDialogId(ToolKind kind)
{
    switch (kind) {
    case ToolKind::Features:
        return 457;
    case ToolKind::Remote:
        return 373;
    case ToolKind::MachineSettings:
        return 335;
    case ToolKind::NoiseGate:
        return 423;
    }
    return 0;
}

QString ToolTitle(ToolKind kind)
{
    switch (kind) {
    case ToolKind::Features:
        return PairText("特色功能", "Features");
    case ToolKind::Remote:
        return PairText("遥控学习", "Learn remoter control ");
    case ToolKind::MachineSettings:
        return PairText("机器设置", "Machine Set");
    case ToolKind::NoiseGate:
        return PairText("噪声门设置", "Noise gate setting");
    }
    return {};
}

CPlaceholderPage::CPlaceholderPage(PageKind kind, QWidget* parent)
    : CPageBase(parent), kind_(kind), title_(new QLabel(this)), note_(new QLabel(this))
{
    setObjectName(
        QString("page-%1").arg(QString::fromLatin1(kPageNames[static_cast<size_t>(kind)])));
    setProperty("placeholder", true);
    auto* layout = new QVBoxLayout(this);
    layout->addStretch(1);
    title_->setObjectName("placeholderTitle");
    note_->setObjectName("placeholderNote");
    title_->setAlignment(Qt::AlignCenter);
    note_->setAlignment(Qt::AlignCenter);
    layout->addWidget(title_);
    layout->addWidget(note_);
    layout->addStretch(2);
    Relabel();
}

void CPlaceholderPage::Relabel()
{
    title_->setText(PageTitle(kind_));
    QString note = PairText("此页面尚未构建", "This page is not built yet");
    if (kind_ == PageKind::Output && group_ >= 0) {
        note += PairText("（通道组 %1）", " (channel group %1)").arg(group_);
    }
    note_->setText(note);
}

void CPlaceholderPage::SetOutputGroup(int group)
{
    group_ = group;
    Relabel();
}

PageEq* CPlaceholderPage::Eq()
{
    const bool eqPage =
        kind_ == PageKind::Music || kind_ == PageKind::Efx || kind_ == PageKind::Output;
    return eqPage ? this : nullptr;
}

CPlaceholderTool::CPlaceholderTool(ToolKind kind, QWidget* parent)
    : CToolWindowBase(parent), kind_(kind), note_(new QLabel(this))
{
    auto* layout = new QVBoxLayout(this);
    note_->setAlignment(Qt::AlignCenter);
    layout->addWidget(note_);
    resize(420, 240);
    Relabel();
}

void CPlaceholderTool::Relabel()
{
    setWindowTitle(ToolTitle(kind_));
    ApplyWindowLanguage(this, ToolDialogId(kind_));
    note_->setText(PairText("此窗口尚未构建", "This window is not built yet"));
}
