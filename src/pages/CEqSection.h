#pragma once
// The equaliser section of a page: the EQ panel, its band list and band editor, and (on the
// Sub) the crossover drop-down, driven together for one EQ at a time. It loads the bands from
// the band memory, writes every edit through the EQ's member of the SetEqBand family (the Sub
// a whole slot of four stages at once), and answers the shell's bypass box, reset and
// Ctrl + digit. Copy and paste go through the program-wide copy slot. Wheel messages over
// the page reach the focused panel or slider.
//
// A page creates one section, places its panel and list, and sets the EQ it shows:
//   eq_ = new CEqSection(this, IDD_DIALOG_X);
//   eq_->SetGeometry(panelRect, listRect);
//   eq_->SetKind(EQ_KIND_MAIN);
//   eq_->Refresh();
// and returns it from CPageBase::Eq().

#include "eq/FilterFileDialogs.h"
#include "pageapi/PageRegistry.h"

#include <QColor>
#include <QObject>
#include <QRect>

#include <optional>
#include <utility>

class CEqBandList;
class CEqPanel;
class CEqWheelForwarder;
class QComboBox;
class QLabel;
class QWidget;

class CEqSection : public QObject, public PageEq
{
    Q_OBJECT

public:
    // The controls become children of `page`; dialogId captions the band editor.
    CEqSection(QWidget* page, int dialogId);
    ~CEqSection() override;

    // The EQ shown, as its page kind. Sets the panel's kind and band count (10, 7, or the
    // Sub's 20 stages in five slots) and the list's rows; the bands load with Refresh.
    void SetKind(int kind);
    int Kind() const { return kind_; }
    // Rows of the band list (= bands a page edits): 10, 7, or 5 slots on the Sub.
    int Rows() const;

    // No band chosen, band list shown, bands loaded from the band memory, bypass look.
    void Refresh();
    // Bands loaded again without leaving the band editor when it is open.
    void ReloadBands();
    // Captions and the panel's language after a language switch.
    void Relabel();

    // Stored types above this load as OFF: 5 on the input pages, 31 on the outputs.
    void SetMaxStoredType(int type) { maxType_ = type; }
    // The input page's editor raises a typed frequency below 20 Hz to 20.
    void SetRaiseFrequencyTo20(bool on);
    // Colours of the list's band numbers (kept across rebuilds); none by default.
    void SetNumberColours(const QColor& text, const QColor& background);

    // Places the panel and the list (the editor and the crossover drop-down go with the list).
    void SetGeometry(const QRect& panel, const QRect& list);
    QRect PanelRect() const;
    QRect ListRect() const;

    // PageEq
    bool EqBypass() const override;
    void SetEqBypass(bool on) override;
    void ResetEq() override;
    void PickEqBand(int band) override;

    // Copy (action 0) or paste (1) chosen in the panel's menu.
    void CopyPaste(int action);
    // Filter files for the whole EQ: 0 import (then the bands are reloaded), 1 export.
    void FilterFile(int action);
    // The dialogs and boxes of the filter files (tests answer them themselves).
    void SetFilterFileUi(FilterFileUi ui) { filterFileUi_ = std::move(ui); }

    // Sub: the crossover kind chosen in the drop-down for the slot of the chosen row.
    void ChooseCrossover(int index);
    // The slot the crossover controls act on (-1 for none).
    int CrossoverSlot() const { return crossSlot_; }
    // A row of the band list was clicked.
    void OnRowClicked(int row);

    int EditBand() const;
    CEqPanel* Panel() const { return panel_; }
    CEqBandList* Bands() const { return bands_; }
    QComboBox* Crossover() const { return crossover_; }
    QLabel* CrossoverLabel() const { return crossLabel_; }
    // The page's wheel helper: pages add their own sliders and handlers.
    CEqWheelForwarder* Wheel() const { return wheel_; }

private:
    void WriteBand(int slot);
    void AfterBandShown(int slot);
    void ShowCrossoverFor(int slot);
    void HideCrossover();
    void ColourNumbers();
    void PlaceCrossover();

    QWidget* page_;
    FilterFileUi filterFileUi_ = DefaultFilterFileUi();
    int kind_ = -1;
    int maxType_ = 5;
    int crossSlot_ = -1;
    CEqPanel* panel_ = nullptr;
    CEqBandList* bands_ = nullptr;
    QComboBox* crossover_ = nullptr;
    QLabel* crossLabel_ = nullptr;
    CEqWheelForwarder* wheel_ = nullptr;
    std::optional<std::pair<QColor, QColor>> numberColours_;
};
