#include "pages/CDelayDlg.h"

#include "controls/CXBmpSlider.h"
#include "i18n/DialogIds.h"
#include "i18n/Language.h"
#include "pages/CDelayPanel.h"
#include "pages/COutputNavBar.h"
#include "pages/CSpinButton.h"
#include "pages/DelayPageTexts.h"
#include "pages/PageLook.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QResizeEvent>

#include <algorithm>
#include <cmath>
#include <functional>
#include <utility>

namespace {
// The navigation bar along the top.
constexpr int kNavLeft = 6;
constexpr int kNavTop = 6;
// Row layout, in pixels from the row's left edge.
constexpr int kRowHeight = 26;
constexpr int kRowsGap = 8;
constexpr int kCaptionX = 12, kCaptionW = 70;
constexpr int kSwitchX = 86, kSwitchW = 70;
constexpr int kHighFreqX = 160, kHighFreqW = 110;
constexpr int kChannelX = 274, kChannelW = 100;
constexpr int kSplitX = 380, kSplitW = 240;
constexpr int kSplitTextX = 626, kSplitTextW = 62;
constexpr int kEditX = 694, kEditW = 78;
constexpr int kSpinX = 772, kSpinW = 16;
constexpr int kRowsWidth = kSpinX + kSpinW + 12;
constexpr int kChartMinHeight = 160;

QString HzText(int hz)
{
    return QStringLiteral("%1Hz").arg(hz);
}

// Up and Down in a delay edit box step the delay, like the spin button beside it.
class StepKeys : public QObject
{
public:
    StepKeys(QObject* parent, std::function<void(int)> step)
        : QObject(parent), step_(std::move(step))
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Up || key == Qt::Key_Down) {
                step_(key == Qt::Key_Up ? 1 : -1);
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void(int)> step_;
};
} // namespace

CDelayDlg::CDelayDlg(PageShell* shell, QWidget* parent)
    : CPageBase(parent), shell_(shell), texts_(this, IDD_DIALOG_DELAY)
{
    setObjectName(QStringLiteral("CDelayDlg"));
    ApplyPageBackground(this);
    ApplyDialogFont(this);
    nav_ = new COutputNavBar(shell, this);
    nav_->SetCurrent(PageKind::Delay, -1);

    chart_ = new CDelayPanel(this);
    chart_->setProperty("controlId", IDC_DELAY_CHART);
    connect(chart_, &CDelayPanel::DelayDragged, this,
            [this](int ch, float ms) { ChangeDelay(ch, ms, true); });
    for (int ch = 0; ch < kDelayChannelCount; ++ch) {
        BuildRow(ch);
    }
    texts_.Apply();
    chart_->SetLanguage(CurrentLanguage());
    Refresh();
    resize(1024, 520);
}

CDelayDlg::~CDelayDlg() = default;

void CDelayDlg::BuildRow(int ch)
{
    Row& r = rows_[Index(ch)];
    r.caption = new QLabel(this);
    texts_.Bind(r.caption, IDC_DELAY_CAPTION + ch, QString::fromUtf8(DelayChannelCaption(ch).zh));
    r.on = new QCheckBox(this);
    texts_.Bind(r.on, IDC_DELAY_SWITCH + ch, QString::fromUtf8(kDelaySwitchText.zh));
    r.highFreq = new QRadioButton(this);
    texts_.Bind(r.highFreq, IDC_DELAY_HIGH_FREQ + ch, QString::fromUtf8(kDelayHighFreqText.zh));
    r.channel = new QRadioButton(this);
    texts_.Bind(r.channel, IDC_DELAY_CHANNEL + ch, QString::fromUtf8(kDelayChannelText.zh));
    r.modes = new QButtonGroup(this);
    r.modes->addButton(r.highFreq, 0);
    r.modes->addButton(r.channel, 1);

    r.split = new CXBmpSlider(this, IDC_DELAY_SPLIT + ch);
    r.split->SetupHorizontal();
    r.split->SetChannelSize(QSize(kSplitW, r.split->sizeHint().height()));
    r.split->SetRange(0, kHfSplitStepCount - 1);
    r.splitText = new QLabel(this);
    r.splitText->setProperty("controlId", IDC_DELAY_SPLIT_TEXT + ch);

    r.edit = new QLineEdit(this);
    r.edit->setProperty("controlId", IDC_DELAY_EDIT + ch);
    r.edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    r.spin = new CSpinButton(this);
    r.spin->setProperty("controlId", IDC_DELAY_SPIN + ch);
    r.spin->SetRange(kDelayTenthsMin, kDelayTenthsMax);

    connect(r.on, &QCheckBox::clicked, this, [this, ch](bool on) { OnSwitch(ch, on); });
    connect(r.highFreq, &QRadioButton::clicked, this, [this, ch] { OnMode(ch, 0); });
    connect(r.channel, &QRadioButton::clicked, this, [this, ch] { OnMode(ch, 1); });
    connect(r.split, &CXBmpSlider::SliderMoved, this,
            [this, ch](int, int position) { OnSplit(ch, position); });
    // Enter takes the typed value and leaves the focus in the box; leaving the box takes it
    // too, without pulling the focus back.
    connect(r.edit, &QLineEdit::editingFinished, this, [this, ch] {
        ChangeDelay(ch, DelayFromText(DelayEdit(ch)->text().toStdString()), false);
    });
    // The spin button's position is the delay in tenths of a millisecond.
    connect(r.spin, &CSpinButton::Stepped, this, [this, ch](int position) {
        ChangeDelay(ch, static_cast<double>(position) / 10.0, false);
    });
    r.edit->installEventFilter(
        new StepKeys(r.edit, [this, ch](int delta) { StepDelay(ch, delta); }));
}

void CDelayDlg::LoadRow(int ch)
{
    Row& r = rows_[Index(ch)];
    const float delay = ChannelDelay(ch);
    r.edit->setText(QString::fromStdString(DelayText(delay)));
    r.spin->SetPos(static_cast<int>(std::lround(std::isfinite(delay) ? delay * 10.0f : 0.0f)));
    chart_->SetValue(ch, delay);
    ShowSplit(ch, ChannelSplitStep(ch));
    r.on->setChecked(ChannelDelayOn(ch));
    (ChannelDelayMode(ch) == 0 ? r.highFreq : r.channel)->setChecked(true);
    EnableRow(ch);
}

void CDelayDlg::EnableRow(int ch)
{
    Row& r = rows_[Index(ch)];
    const DelayRowEnabling e = DelayRowEnabled(r.on->isChecked(), r.highFreq->isChecked() ? 0 : 1);
    for (QWidget* w : {static_cast<QWidget*>(r.highFreq), static_cast<QWidget*>(r.channel),
                       static_cast<QWidget*>(r.caption), static_cast<QWidget*>(r.edit),
                       static_cast<QWidget*>(r.spin)}) {
        w->setEnabled(e.controls);
    }
    r.split->setEnabled(e.split);
    r.split->SetSliderEnabled(e.split);
    r.splitText->setEnabled(e.split);
}

void CDelayDlg::ShowSplit(int ch, int step)
{
    Row& r = rows_[Index(ch)];
    r.split->SetPos(step);
    r.splitText->setText(HzText(SplitStepHz(r.split->GetPos())));
}

void CDelayDlg::ChangeDelay(int ch, double ms, bool focusEdit)
{
    if (ch < 0 || ch >= kDelayChannelCount) {
        return;
    }
    Row& r = rows_[Index(ch)];
    const float value = ApplyChannelDelay(ch, ms);
    chart_->SetValue(ch, value);
    r.edit->setText(QString::fromStdString(DelayText(value)));
    r.spin->SetPos(static_cast<int>(std::lround(value * 10.0f)));
    if (focusEdit && r.edit->isEnabled()) {
        r.edit->setFocus(Qt::OtherFocusReason);
    }
}

void CDelayDlg::StepDelay(int ch, int delta)
{
    if (ch < 0 || ch >= kDelayChannelCount) {
        return;
    }
    rows_[Index(ch)].spin->Step(delta);
}

void CDelayDlg::OnSwitch(int ch, bool on)
{
    SetChannelDelayOn(ch, on);
    EnableRow(ch);
}

void CDelayDlg::OnMode(int ch, int mode)
{
    SetChannelDelayMode(ch, mode);
    EnableRow(ch);
}

void CDelayDlg::OnSplit(int ch, int step)
{
    rows_[Index(ch)].splitText->setText(HzText(SetChannelSplitStep(ch, step)));
}

void CDelayDlg::Refresh()
{
    for (int ch = 0; ch < kDelayChannelCount; ++ch) {
        LoadRow(ch);
    }
}

void CDelayDlg::Relabel()
{
    nav_->Relabel();
    texts_.Apply();
    chart_->SetLanguage(CurrentLanguage());
    Refresh();
}

QSize CDelayDlg::minimumSizeHint() const
{
    const int navHeight = NavHeight();
    return {kRowsWidth,
            navHeight + kChartMinHeight + kRowsGap + kDelayChannelCount * kRowHeight + kRowsGap};
}

int CDelayDlg::NavHeight() const
{
    return kNavTop + nav_->sizeHint().height();
}

void CDelayDlg::LayOut()
{
    const int navHeight = NavHeight();
    nav_->setGeometry(kNavLeft, kNavTop, std::min(nav_->sizeHint().width(), width() - kNavLeft),
                      nav_->sizeHint().height());
    const int rowsHeight = kDelayChannelCount * kRowHeight;
    const int rowsTop =
        std::max(navHeight + kChartMinHeight + kRowsGap, height() - rowsHeight - kRowsGap);
    chart_->setGeometry(4, navHeight + 4, width() - 8, rowsTop - kRowsGap - navHeight - 4);
    for (int ch = 0; ch < kDelayChannelCount; ++ch) {
        Row& r = rows_[Index(ch)];
        const int y = rowsTop + ch * kRowHeight;
        const int h = kRowHeight - 4;
        r.caption->setGeometry(kCaptionX, y, kCaptionW, h);
        r.on->setGeometry(kSwitchX, y, kSwitchW, h);
        r.highFreq->setGeometry(kHighFreqX, y, kHighFreqW, h);
        r.channel->setGeometry(kChannelX, y, kChannelW, h);
        const int sh = r.split->sizeHint().height();
        r.split->setGeometry(kSplitX, y + (h - sh) / 2, kSplitW, sh);
        r.splitText->setGeometry(kSplitTextX, y, kSplitTextW, h);
        r.edit->setGeometry(kEditX, y, kEditW, h);
        r.spin->setGeometry(kSpinX, y, kSpinW, h);
    }
}

void CDelayDlg::resizeEvent(QResizeEvent* event)
{
    CPageBase::resizeEvent(event);
    LayOut();
}

static const PageRegistration g_delayPage(PageKind::Delay,
                                          [](PageShell& shell, QWidget* parent) -> CPageBase* {
                                              return new CDelayDlg(&shell, parent);
                                          });
