#include "pages/CDialogOutput.h"

#include "controls/CXBmpSlider.h"
#include "dsp/EqBands.h"
#include "eq/CEqBandList.h"
#include "eq/CEqPanel.h"
#include "eq/CEqWheelForwarder.h"
#include "i18n/DialogIds.h"
#include "i18n/Language.h"
#include "model/Outputs.h"
#include "pages/CEqSection.h"
#include "pages/COutputNavBar.h"
#include "pages/PageGlobals.h"
#include "pages/PageLook.h"

#include <QCheckBox>
#include <QFont>
#include <QLabel>
#include <QResizeEvent>

#include <algorithm>

namespace {
// The mute boxes in their order on the page.
constexpr std::array<int, 5> kMuteKinds = {EQ_KIND_MAIN, EQ_KIND_REAR, EQ_KIND_CENTER, EQ_KIND_SUB,
                                           EQ_KIND_TOP};
constexpr TextPair kMuteTexts[5] = {{"前置静音", "Main Mute"},
                                    {"后置静音", "Rear Mute"},
                                    {"中置静音", "Center Mute"},
                                    {"超低静音", "Sub Mute"},
                                    {"顶置静音", "Top Mute"}};
constexpr TextPair kMixTexts[4] = {
    {"直达音量", "Direct"}, {"混响音量", "Reverb"}, {"回声音量", "Echo"}, {"音乐音量", "Music"}};
constexpr TextPair kSrsText = {"SRS 3D音效", "SRS 3D"};
constexpr TextPair kMutedText = {"当前是静音状态", "vol is mute"};

const QColor kTitleColour(0, 90, 170);
const QColor kNumberColour(20, 200, 20);

// Layout, in pixels of the 1024 x 520 page.
constexpr int kMargin = 8;
constexpr int kNavTop = 4;
constexpr int kTitleTop = 34;
constexpr int kRowsTop = 80;
constexpr int kRowHeight = 28;
constexpr int kCaptionWidth = 84;
constexpr int kSliderWidth = 200;
constexpr int kValueWidth = 44;
constexpr int kMuteLeft = 350;
constexpr int kMuteWidth = 120;
constexpr int kLeftColumn = 480; // the EQ panel starts right of it
constexpr int kListTop = 230;
constexpr int kListWidth = 290;

int ValidOutput(int kind)
{
    return OutputOf(kind) != nullptr ? kind : EQ_KIND_MAIN;
}

QString Pair(const TextPair& p)
{
    return QString::fromUtf8(p.Text());
}

const char* OutputTitle(int kind, int language)
{
    for (const OutputNavEntry& e : OutputNavEntries()) {
        if (e.page == PageKind::Output && e.outputKind == kind) {
            return language == 1 ? e.en : e.zh;
        }
    }
    return "";
}
} // namespace

CDialogOutput::CDialogOutput(PageShell* shell, int outputKind, QWidget* parent)
    : CPageBase(parent), shell_(shell), texts_(this, IDD_DIALOG_OUTPUT),
      kind_(ValidOutput(outputKind))
{
    setObjectName(QStringLiteral("CDialogOutput"));
    g_nOutputKind = kind_;
    ApplyPageBackground(this);
    ApplyDialogFont(this);
    Build();
    Relabel();
    resize(1024, 520);
}

CDialogOutput::~CDialogOutput() = default;

void CDialogOutput::Build()
{
    nav_ = new COutputNavBar(shell_, this);

    title_ = MakeStatic(this, QRect(kMargin, kTitleTop, 300, 40));
    QFont big = title_->font();
    big.setPixelSize(24);
    big.setBold(true);
    title_->setFont(big);
    SetTextColour(title_, kTitleColour);
    title_->setProperty("controlId", IDC_OUT_TITLE);

    for (int i = 0; i < 5; ++i) {
        const size_t s = static_cast<size_t>(i);
        const bool srs = i == 4;
        auto* caption = MakeStatic(this, QRect());
        auto* slider = new CXBmpSlider(this, srs ? IDC_OUT_SRS_SLIDER : IDC_OUT_MIX_SLIDER + i);
        slider->SetupHorizontal();
        slider->SetChannelSize(QSize(kSliderWidth, 22));
        slider->SetRange(0, srs ? kSurroundMax : kMixMax);
        connect(slider, &CXBmpSlider::SliderMoved, this, &CDialogOutput::OnSliderMoved);
        auto* value = MakeStatic(this, QRect(), Qt::AlignRight);
        if (srs) {
            srsCaption_ = caption;
            srs_ = slider;
            srsValue_ = value;
            texts_.Bind(caption, IDC_OUT_SRS_CAPTION, QString::fromUtf8(kSrsText.zh));
        } else {
            mixCaptions_[s] = caption;
            texts_.Bind(caption, IDC_OUT_MIX_CAPTION + i, QString::fromUtf8(kMixTexts[s].zh));
            mix_[s] = slider;
            mixValues_[s] = value;
        }
    }
    for (int i = 0; i < 5; ++i) {
        auto* box = new QCheckBox(this);
        box->setAttribute(Qt::WA_TranslucentBackground);
        texts_.Bind(box, IDC_OUT_MUTE + i, QString::fromUtf8(kMuteTexts[i].zh));
        connect(box, &QCheckBox::clicked, this, [this, i](bool on) { OnMuteClicked(i, on); });
        mutes_[static_cast<size_t>(i)] = box;
    }

    eq_ = new CEqSection(this, IDD_DIALOG_OUTPUT);
    eq_->SetMaxStoredType(31);
    QPalette number = eq_->Bands()->NumberLabel()->palette();
    number.setColor(QPalette::WindowText, kNumberColour);
    eq_->Bands()->NumberLabel()->setPalette(number);
    for (CXBmpSlider* s : mix_) {
        eq_->Wheel()->AddTarget(s);
    }
    eq_->Wheel()->AddTarget(srs_);
    Layout(QSize(1024, 520));
}

void CDialogOutput::Layout(const QSize& size)
{
    nav_->setGeometry(kMargin, kNavTop, std::min(size.width() - 2 * kMargin, 800), 24);
    for (int i = 0; i < 5; ++i) {
        const int y = kRowsTop + kRowHeight * i;
        QLabel* caption = i == 4 ? srsCaption_ : mixCaptions_[static_cast<size_t>(i)];
        CXBmpSlider* slider = i == 4 ? srs_ : mix_[static_cast<size_t>(i)];
        QLabel* value = i == 4 ? srsValue_ : mixValues_[static_cast<size_t>(i)];
        caption->setGeometry(kMargin, y, kCaptionWidth, 22);
        slider->setGeometry(kMargin + kCaptionWidth + 4, y, kSliderWidth, 22);
        value->setGeometry(kMargin + kCaptionWidth + kSliderWidth + 8, y, kValueWidth, 22);
        mutes_[static_cast<size_t>(i)]->setGeometry(kMuteLeft, y, kMuteWidth, 22);
    }
    const int bottom = size.height() - 2;
    eq_->SetGeometry(QRect(QPoint(kLeftColumn, kTitleTop), QPoint(size.width() - 2, bottom)),
                     QRect(kMargin, kListTop, kListWidth, std::max(0, bottom - kListTop)));
}

void CDialogOutput::resizeEvent(QResizeEvent* event)
{
    CPageBase::resizeEvent(event);
    Layout(event->size());
}

PageEq* CDialogOutput::Eq()
{
    return eq_;
}

CEqPanel* CDialogOutput::Panel() const
{
    return eq_->Panel();
}

CEqBandList* CDialogOutput::Bands() const
{
    return eq_->Bands();
}

void CDialogOutput::ShowOutput(int outputKind)
{
    kind_ = ValidOutput(outputKind);
    g_nOutputKind = kind_;
    Refresh();
}

void CDialogOutput::Refresh()
{
    // 1. Caption of the output; SRS 3D only on the stereo outputs.
    title_->setText(QString::fromUtf8(OutputTitle(kind_, CurrentLanguage())));
    const bool srs = OutputOf(kind_)->surround != 0;
    srs_->setVisible(srs);
    srsValue_->setVisible(srs);
    srsCaption_->setVisible(srs);
    // 3. Mix sliders (the Sub's music a third of its cell) and SRS 3D.
    for (int i = 0; i < 4; ++i) {
        const int p = std::clamp(OutputMixPosition(kind_, i), 0, kMixMax);
        mix_[static_cast<size_t>(i)]->SetPos(p);
        mixValues_[static_cast<size_t>(i)]->setText(QStringLiteral("%1%").arg(p));
    }
    const int width = std::clamp(OutputSurround(kind_), 0, kSurroundMax);
    srs_->SetPos(width);
    srsValue_->setText(QString::number(width));
    // 2., 4. and 5. The band list, no band chosen, the bands and the bypass look.
    eq_->SetKind(kind_);
    eq_->Refresh();
    // 6. Navigation buttons.
    nav_->SetCurrent(PageKind::Output, kind_);
    // 7. The five mutes.
    for (size_t i = 0; i < 5; ++i) {
        mutes_[i]->setChecked(OutputMuted(kMuteKinds[i]));
    }
}

void CDialogOutput::Relabel()
{
    for (size_t i = 0; i < 4; ++i) {
        mixCaptions_[i]->setText(Pair(kMixTexts[i]));
    }
    srsCaption_->setText(Pair(kSrsText));
    for (size_t i = 0; i < 5; ++i) {
        mutes_[i]->setText(Pair(kMuteTexts[i]));
    }
    nav_->Relabel();
    texts_.Apply();
    eq_->Relabel();
    Refresh();
}

void CDialogOutput::MutedNotice()
{
    if (shell_ && OutputMuted(kind_)) {
        shell_->ShowInfo(Pair(kMutedText), kMutedNoticeMs);
    }
}

void CDialogOutput::OnSliderMoved(int controlId, int position)
{
    if (controlId == IDC_OUT_SRS_SLIDER) {
        SetOutputSurround(kind_, position);
        srsValue_->setText(QString::number(OutputSurround(kind_)));
        MutedNotice();
        return;
    }
    const int source = controlId - IDC_OUT_MIX_SLIDER;
    if (source < 0 || source > 3) {
        return;
    }
    SetOutputMix(kind_, source, position);
    mixValues_[static_cast<size_t>(source)]->setText(
        QStringLiteral("%1%").arg(OutputMixPosition(kind_, source)));
    MutedNotice();
}

void CDialogOutput::OnMuteClicked(int index, bool checked)
{
    if (index < 0 || index >= 5) {
        return;
    }
    // Each box mutes its own output, whatever output is shown.
    SetOutputMute(kMuteKinds[static_cast<size_t>(index)], checked);
}

static const PageRegistration
g_outputPage(PageKind::Output, [](PageShell& shell, QWidget* parent) -> CPageBase* {
    return new CDialogOutput(&shell, shell.OutputGroup(), parent);
});
