#include "pages/COutputNavBar.h"

#include "controls/CGdipButton.h"
#include "dsp/EqBands.h"
#include "i18n/DialogIds.h"
#include "i18n/Language.h"
#include "pageapi/PageRegistry.h"
#include "pages/PageGlobals.h"

#include <QResizeEvent>

namespace {
constexpr int kButtonWidth = 96;
constexpr int kButtonHeight = 24;
constexpr int kGap = 4;
// The button pictures the input page's view buttons use, normal and selected.
constexpr int kNormalPicture = 413;
constexpr int kSelectedPicture = 395;
} // namespace

const std::array<OutputNavEntry, kOutputNavButtons>& OutputNavEntries()
{
    static const std::array<OutputNavEntry, kOutputNavButtons> entries = {{
        {PageKind::Output, EQ_KIND_MAIN, "前置音箱", "Main"},
        {PageKind::Output, EQ_KIND_CENTER, "中置音箱", "Center"},
        {PageKind::Output, EQ_KIND_SUB, "超低音箱", "Sub"},
        {PageKind::Output, EQ_KIND_REAR, "后置音箱", "Rear"},
        {PageKind::Output, EQ_KIND_TOP, "顶置音箱", "Top"},
        {PageKind::SoundField, -1, "声场定位", "Location"},
        {PageKind::Delay, -1, "延时调整", "Delay"},
        {PageKind::Comp, -1, "输出压限", "Comp"},
    }};
    return entries;
}

COutputNavBar::COutputNavBar(PageShell* shell, QWidget* parent) : QWidget(parent), shell_(shell)
{
    setObjectName(QStringLiteral("outputNavBar"));
    for (int i = 0; i < kOutputNavButtons; ++i) {
        auto* b = new CGdipButton(this);
        b->setObjectName(QStringLiteral("navButton%1").arg(i));
        // The page's language table may hold the button's caption under this id.
        b->setProperty("controlId", IDC_NAV_FIRST + i);
        b->LoadStdImage(kNormalPicture);
        b->LoadAltImage(kSelectedPicture);
        b->SetTextColor(Qt::white);
        connect(b, &QPushButton::clicked, this, [this, i] { Choose(i); });
        buttons_[static_cast<size_t>(i)] = b;
    }
    Relabel();
    resize(sizeHint());
}

QSize COutputNavBar::sizeHint() const
{
    return {kOutputNavButtons * (kButtonWidth + kGap), kButtonHeight};
}

void COutputNavBar::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // Equal buttons across the bar's width, never wider than their pictures want.
    const int w = std::min(kButtonWidth, event->size().width() / kOutputNavButtons - kGap);
    for (int i = 0; i < kOutputNavButtons; ++i) {
        buttons_[static_cast<size_t>(i)]->setGeometry(i * (w + kGap), 0, w, kButtonHeight);
    }
}

void COutputNavBar::Relabel()
{
    const int language = CurrentLanguage();
    for (int i = 0; i < kOutputNavButtons; ++i) {
        const OutputNavEntry& e = OutputNavEntries()[static_cast<size_t>(i)];
        buttons_[static_cast<size_t>(i)]->setText(QString::fromUtf8(language == 1 ? e.en : e.zh));
    }
}

void COutputNavBar::SetCurrent(PageKind page, int outputKind)
{
    for (int i = 0; i < kOutputNavButtons; ++i) {
        const OutputNavEntry& e = OutputNavEntries()[static_cast<size_t>(i)];
        // On the output page the output shown; on the other pages their own button.
        const bool selected =
            e.page == page && (page != PageKind::Output || e.outputKind == outputKind);
        buttons_[static_cast<size_t>(i)]->SetChecked(selected);
    }
}

void COutputNavBar::Choose(int index)
{
    if (index < 0 || index >= kOutputNavButtons) {
        return;
    }
    const OutputNavEntry& e = OutputNavEntries()[static_cast<size_t>(index)];
    if (e.outputKind >= 0) {
        g_nOutputKind = e.outputKind;
    }
    emit Chosen(index);
    if (shell_) {
        shell_->ShowPage(e.page, e.outputKind);
    }
}
