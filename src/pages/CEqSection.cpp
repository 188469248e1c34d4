#include "pages/CEqSection.h"

#include "controls/CXBmpSlider.h"
#include "dsp/Crossover.h"
#include "dsp/EqBands.h"
#include "eq/CEqBandList.h"
#include "eq/CEqPanel.h"
#include "eq/CEqWheelForwarder.h"
#include "eq/FilterFileDialogs.h"
#include "i18n/Language.h"
#include "model/ParamStore.h"
#include "model/Setters.h"
#include "pages/PageGlobals.h"
#include "pages/PanelLoading.h"

#include <QComboBox>
#include <QLabel>
#include <QTableWidget>

#include <algorithm>
#include <cmath>

namespace {
constexpr int kCrossoverHeight = 22;

EqBand RecordOf(const EqPanelBand& b)
{
    EqBand r;
    r.gain = static_cast<double>(b.gain);
    r.freq = static_cast<int>(std::lround(b.freq));
    r.q = static_cast<double>(b.q);
    r.type = b.type;
    return r;
}

// The low-pass or high-pass family of a Sub slot's visible band: the pass types and every
// crossover stage code.
bool PassFamily(int type)
{
    return type == EQ_TYPE_LP || type == EQ_TYPE_HP || type > 5;
}
} // namespace

CEqSection::CEqSection(QWidget* page, int dialogId) : QObject(page), page_(page)
{
    panel_ = new CEqPanel(page);
    panel_->setObjectName(QStringLiteral("eqPanel"));
    bands_ = new CEqBandList(page);
    bands_->SetDialogId(dialogId);
    bands_->SetBandWriter([this](int slot, const EqBand&) { WriteBand(slot); });
    bands_->AttachPanel(panel_);
    // After the band list has shown the band: the Sub's crossover controls follow it.
    connect(panel_, &CEqPanel::BandChanged, this,
            [this](const EqPanelBand&, int slot) { AfterBandShown(slot); });
    connect(panel_, &CEqPanel::BandPicked, this,
            [this](const EqPanelBand&, int slot) { AfterBandShown(slot); });
    connect(panel_, &CEqPanel::BandNone, this, [this] { HideCrossover(); });
    connect(panel_, &CEqPanel::CopyPaste, this, [this](int action, int) { CopyPaste(action); });
    connect(panel_, &CEqPanel::FilterFile, this, [this](int action, int) { FilterFile(action); });
    connect(bands_->List(), &QTableWidget::cellClicked, this,
            [this](int row, int) { OnRowClicked(row); });

    crossLabel_ = new QLabel(QStringLiteral("Type"), page);
    crossLabel_->setObjectName(QStringLiteral("crossoverLabel"));
    crossLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    crossover_ = new QComboBox(page);
    crossover_->setObjectName(QStringLiteral("crossoverBox"));
    for (int k = 0; k < kOfferedCrossoverKinds; ++k) {
        crossover_->addItem(QString::fromUtf8(CrossoverKindLabel(k)));
    }
    connect(crossover_, &QComboBox::activated, this, &CEqSection::ChooseCrossover);
    crossLabel_->hide();
    crossover_->hide();

    wheel_ = new CEqWheelForwarder(page);
    wheel_->AddTarget(panel_);
    wheel_->AddTarget(bands_->GainSlider());
    wheel_->AddTarget(bands_->FreqSlider());
    wheel_->AddTarget(bands_->QSlider());
    bands_->InstallPickShortcuts(page);
}

CEqSection::~CEqSection() = default;

void CEqSection::SetKind(int kind)
{
    kind_ = kind;
    const bool sub = kind == EQ_KIND_SUB;
    panel_->SetPanelKind(kind);
    panel_->SetBandCount(sub ? kSubSlotCount * kStagesPerSubSlot : Rows());
    if (bands_->BandCount() != Rows()) {
        bands_->SetBandCount(Rows());
        ColourNumbers();
    }
    if (!sub) {
        HideCrossover();
    }
}

int CEqSection::Rows() const
{
    return std::max(0, EqEditableBandCount(kind_));
}

void CEqSection::SetRaiseFrequencyTo20(bool on)
{
    bands_->SetRaiseFrequencyTo20(on);
}

void CEqSection::SetNumberColours(const QColor& text, const QColor& background)
{
    numberColours_ = std::make_pair(text, background);
    ColourNumbers();
}

void CEqSection::ColourNumbers()
{
    if (!numberColours_) {
        return;
    }
    QTableWidget* list = bands_->List();
    for (int r = 0; r < list->rowCount(); ++r) {
        if (QTableWidgetItem* item = list->item(r, EQ_COL_NUMBER)) {
            item->setForeground(numberColours_->first);
            item->setBackground(numberColours_->second);
        }
    }
}

void CEqSection::SetGeometry(const QRect& panel, const QRect& list)
{
    panel_->setGeometry(panel);
    bands_->setGeometry(list);
    PlaceCrossover();
}

QRect CEqSection::PanelRect() const
{
    return panel_->geometry();
}

QRect CEqSection::ListRect() const
{
    return bands_->geometry();
}

void CEqSection::PlaceCrossover()
{
    // Below the editor's groups, across the list's width.
    const QRect list = bands_->geometry();
    const int editorBottom = list.y() + bands_->Editor()->height();
    const int y = std::min(editorBottom + 4, list.bottom() - kCrossoverHeight);
    crossLabel_->setGeometry(list.x(), y, 44, kCrossoverHeight);
    crossover_->setGeometry(list.x() + 48, y, std::max(120, list.width() - 56), kCrossoverHeight);
    crossLabel_->raise();
    crossover_->raise();
}

void CEqSection::ReloadBands()
{
    panel_->SetSelected(-1);
    panel_->update();
    panel_->setFocus(Qt::OtherFocusReason);
    SetKind(kind_);
    LoadPanelBands(*panel_, kind_, panel_->BandCount(), maxType_);
    if (bands_->EditBand() == -1) {
        bands_->CloseEditor();
        bands_->SetBandCount(Rows());
        ColourNumbers();
    } else {
        bands_->ShowBand(bands_->EditBand(), false);
    }
    panel_->SetBypass(ParamStore.GetInt(EqBypassCell(kind_)) != 0);
}

void CEqSection::Refresh()
{
    bands_->CloseEditor();
    HideCrossover();
    ReloadBands();
}

void CEqSection::Relabel()
{
    panel_->SetLanguage(CurrentLanguage());
    bands_->Retranslate();
    ColourNumbers();
}

bool CEqSection::EqBypass() const
{
    return ParamStore.GetInt(EqBypassCell(kind_)) != 0;
}

void CEqSection::SetEqBypass(bool on)
{
    SetParamCell(EqBypassCell(kind_), on ? 1 : 0);
    if (panel_->Bypass() != on) {
        panel_->SetBypass(on);
    }
}

void CEqSection::ResetEq()
{
    ::ResetEq(kind_);
    Refresh();
}

void CEqSection::PickEqBand(int band)
{
    bands_->PickBandByDigit(band == 9 ? 0 : band + 1);
}

void CEqSection::CopyPaste(int action)
{
    EqCopyPaste(action, kind_);
    if (action == 1) {
        ReloadBands();
    }
}

void CEqSection::FilterFile(int action)
{
    if (action == 0) {
        ImportFilterFileWithDialog(page_, kind_, filterFileUi_, [this] { ReloadBands(); });
    } else {
        ExportFilterFileWithDialog(page_, kind_, filterFileUi_);
    }
}

int CEqSection::EditBand() const
{
    return bands_->EditBand();
}

void CEqSection::WriteBand(int slot)
{
    if (kind_ != EQ_KIND_SUB) {
        const EqPanelBand& b = panel_->Band(slot);
        SetEqBand(kind_, slot, b.type, static_cast<double>(b.gain),
                  static_cast<int>(std::lround(b.freq)), static_cast<double>(b.q));
        return;
    }
    // A Sub slot is written whole: its visible band and the three stages behind it.
    int k = slot;
    if (slot >= CEqPanel::kSubVisible) {
        k = (slot - CEqPanel::kSubVisible) / 3;
    }
    if (k < 0 || k >= kSubSlotCount) {
        return;
    }
    std::array<EqBand, kStagesPerSubSlot> stages;
    stages[0] = RecordOf(panel_->Band(k));
    const std::array<int, 3> companions = CEqPanel::SubCompanions(k);
    for (size_t i = 0; i < 3; ++i) {
        stages[i + 1] = RecordOf(panel_->Band(companions[i]));
    }
    WriteSubSlot(k, stages);
    ShowCrossoverFor(k);
}

void CEqSection::AfterBandShown(int slot)
{
    if (kind_ == EQ_KIND_SUB) {
        ShowCrossoverFor(slot);
    }
}

void CEqSection::HideCrossover()
{
    crossLabel_->hide();
    crossover_->hide();
}

void CEqSection::ShowCrossoverFor(int slot)
{
    HideCrossover();
    if (kind_ != EQ_KIND_SUB || slot < 0 || slot >= kSubSlotCount) {
        return;
    }
    crossSlot_ = slot;
    const int type = panel_->Band(slot).type;
    if (!PassFamily(type)) {
        return;
    }
    SubSlotStages stages{};
    stages[0] = type;
    const std::array<int, 3> companions = CEqPanel::SubCompanions(slot);
    for (size_t i = 0; i < 3; ++i) {
        stages[i + 1] = panel_->Band(companions[i]).type;
    }
    const SubSlotMatch match = RecogniseSubSlot(stages);
    crossover_->setCurrentIndex(match.found && match.kind >= 0 ? match.kind : -1);
    PlaceCrossover();
    crossLabel_->show();
    crossover_->show();
}

void CEqSection::OnRowClicked(int row)
{
    if (row < 0 || row >= bands_->BandCount()) {
        return;
    }
    // The clicked band is the one picked on the curve too.
    panel_->SetSelected(row);
    HideCrossover();
    if (kind_ == EQ_KIND_SUB) {
        ShowCrossoverFor(row);
    }
}

void CEqSection::ChooseCrossover(int index)
{
    if (kind_ != EQ_KIND_SUB || crossSlot_ < 0 || crossSlot_ >= kSubSlotCount || index < 0 ||
        index >= kOfferedCrossoverKinds) {
        return;
    }
    const int slot = crossSlot_;
    panel_->SetSubCrossover(slot, index);
    WriteBand(slot);
    bands_->RefreshBand(slot);
}
