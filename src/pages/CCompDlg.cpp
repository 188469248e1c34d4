#include "pages/CCompDlg.h"

#include "controls/CXBmpSlider.h"
#include "eq/CEqWheelForwarder.h"
#include "i18n/DialogIds.h"
#include "i18n/Language.h"
#include "pages/CCompressPanelPlus.h"
#include "pages/COutputNavBar.h"
#include "pages/DelayPageTexts.h"
#include "pages/PageLook.h"

#include <QCheckBox>
#include <QLabel>
#include <QResizeEvent>

#include <algorithm>

namespace {
// The navigation bar along the top.
constexpr int kNavLeft = 6;
constexpr int kNavTop = 6;
constexpr int kMargin = 8;
constexpr int kColumnGap = 10;
constexpr int kSwitchHeight = 22;
constexpr int kCaptionHeight = 16;
constexpr int kSliderRowHeight = 40;
constexpr int kPanelMinHeight = 120;
constexpr int kColumnMinWidth = 180;
} // namespace

CCompDlg::CCompDlg(PageShell* shell, QWidget* parent)
    : CPageBase(parent), shell_(shell), texts_(this, IDD_DIALOG_COMP)
{
    setObjectName(QStringLiteral("CCompDlg"));
    ApplyPageBackground(this);
    ApplyDialogFont(this);
    nav_ = new COutputNavBar(shell, this);
    nav_->SetCurrent(PageKind::Comp, -1);
    auto* wheel = new CEqWheelForwarder(this);
    for (int g = 0; g < kCompGroupCount; ++g) {
        BuildGroup(g);
        for (CXBmpSlider* s : groups_[Index(g)].sliders) {
            wheel->AddTarget(s);
        }
    }
    texts_.Apply();
    Refresh();
    resize(1024, 520);
}

CCompDlg::~CCompDlg() = default;

void CCompDlg::BuildGroup(int g)
{
    Group& group = groups_[Index(g)];
    group.on = new QCheckBox(this);
    texts_.Bind(group.on, IDC_COMP_SWITCH + g, QString::fromUtf8(CompGroupSwitchText(g).zh));
    connect(group.on, &QCheckBox::clicked, this, [this, g](bool on) { OnSwitch(g, on); });
    group.panel = new CCompressPanelPlus(this);
    group.panel->setProperty("controlId", IDC_COMP_PANEL + g);
    for (int s = 0; s < COMP_SLIDER_COUNT; ++s) {
        const int id = 4 * g + s;
        auto* caption = new QLabel(this);
        texts_.Bind(caption, IDC_COMP_CAPTION + id, QString::fromUtf8(CompSliderCaption(s).zh));
        auto* value = new QLabel(this);
        value->setProperty("controlId", IDC_COMP_VALUE + id);
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto* slider = new CXBmpSlider(this, IDC_COMP_SLIDER + id);
        slider->SetupHorizontal();
        const CompSliderRange r = CompressorSliderRange(s);
        slider->SetRange(r.minimum, r.maximum);
        connect(slider, &CXBmpSlider::SliderMoved, this, &CCompDlg::OnSlider);
        group.captions[Index(s)] = caption;
        group.values[Index(s)] = value;
        group.sliders[Index(s)] = slider;
    }
}

void CCompDlg::LoadGroup(int g)
{
    Group& group = groups_[Index(g)];
    const bool on = GroupCompressorOn(g);
    group.on->setChecked(on);
    for (int s = 0; s < COMP_SLIDER_COUNT; ++s) {
        const float value = GroupCompressorValue(g, s);
        group.sliders[Index(s)]->SetPos(CompressorSliderPosition(s, value));
        group.values[Index(s)]->setText(QString::fromStdString(CompressorValueText(s, value)));
    }
    group.panel->SetWorking(on);
    group.panel->SetThreshold(GroupCompressorValue(g, COMP_SLIDER_THRESHOLD));
    group.panel->SetRatio(GroupCompressorValue(g, COMP_SLIDER_RATIO));
}

void CCompDlg::OnSlider(int controlId, int position)
{
    const int id = controlId - IDC_COMP_SLIDER;
    if (id < 0 || id >= kCompGroupCount * COMP_SLIDER_COUNT) {
        return;
    }
    const int g = id / COMP_SLIDER_COUNT;
    const int s = id % COMP_SLIDER_COUNT;
    Group& group = groups_[Index(g)];
    const CompSliderRange r = CompressorSliderRange(s);
    const float value = CompressorSliderValue(s, std::clamp(position, r.minimum, r.maximum));
    group.values[Index(s)]->setText(QString::fromStdString(CompressorValueText(s, value)));
    if (s == COMP_SLIDER_THRESHOLD) {
        group.panel->SetThreshold(value);
    } else if (s == COMP_SLIDER_RATIO) {
        group.panel->SetRatio(value);
    }
    MoveCompressorSlider(g, s, position);
}

void CCompDlg::OnSwitch(int g, bool on)
{
    SetGroupCompressorOn(g, on);
    groups_[Index(g)].panel->SetWorking(on);
}

void CCompDlg::Refresh()
{
    for (int g = 0; g < kCompGroupCount; ++g) {
        LoadGroup(g);
    }
}

void CCompDlg::Relabel()
{
    nav_->Relabel();
    texts_.Apply();
    Refresh();
}

QSize CCompDlg::minimumSizeHint() const
{
    const int navHeight = NavHeight();
    return {2 * kMargin + kCompGroupCount * kColumnMinWidth + (kCompGroupCount - 1) * kColumnGap,
            navHeight + kMargin + kSwitchHeight + kPanelMinHeight +
                COMP_SLIDER_COUNT * kSliderRowHeight + kMargin};
}

int CCompDlg::NavHeight() const
{
    return kNavTop + nav_->sizeHint().height();
}

void CCompDlg::LayOut()
{
    const int navHeight = NavHeight();
    nav_->setGeometry(kNavLeft, kNavTop, std::min(nav_->sizeHint().width(), width() - kNavLeft),
                      nav_->sizeHint().height());
    const int columnWidth =
        std::max(kColumnMinWidth,
                 (width() - 2 * kMargin - (kCompGroupCount - 1) * kColumnGap) / kCompGroupCount);
    const int top = navHeight + kMargin;
    const int slidersHeight = COMP_SLIDER_COUNT * kSliderRowHeight;
    const int room = height() - top - kSwitchHeight - slidersHeight - kMargin;
    const int panelHeight = std::clamp(room, kPanelMinHeight, columnWidth);
    for (int g = 0; g < kCompGroupCount; ++g) {
        Group& group = groups_[Index(g)];
        const int x = kMargin + g * (columnWidth + kColumnGap);
        group.on->setGeometry(x, top, columnWidth, kSwitchHeight);
        group.panel->setGeometry(x, top + kSwitchHeight, columnWidth, panelHeight);
        int y = top + kSwitchHeight + panelHeight + 4;
        for (int s = 0; s < COMP_SLIDER_COUNT; ++s) {
            group.captions[Index(s)]->setGeometry(x, y, columnWidth * 2 / 3, kCaptionHeight);
            group.values[Index(s)]->setGeometry(x + columnWidth / 2, y, columnWidth / 2,
                                                kCaptionHeight);
            CXBmpSlider* slider = group.sliders[Index(s)];
            slider->SetChannelSize(QSize(columnWidth, slider->sizeHint().height()));
            slider->setGeometry(x, y + kCaptionHeight, columnWidth, slider->sizeHint().height());
            y += kSliderRowHeight;
        }
    }
}

void CCompDlg::resizeEvent(QResizeEvent* event)
{
    CPageBase::resizeEvent(event);
    LayOut();
}

static const PageRegistration g_compPage(PageKind::Comp,
                                         [](PageShell& shell, QWidget* parent) -> CPageBase* {
                                             return new CCompDlg(&shell, parent);
                                         });
