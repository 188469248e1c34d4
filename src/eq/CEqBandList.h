#pragma once
// The numeric view beside an EQ panel, shared by every EQ page: a band list (one editable
// row per band) while no band is selected, and a band editor (type radios, three vertical
// sliders and three edits) for the selected band. Both read the panel's band records; after
// an edit they update the panel, hand the band to the page's band writer and reformat.
//
// Typical use on a page:
//   auto* bands = new CEqBandList(this);
//   bands->SetBandCount(10);
//   bands->SetBandWriter([](int band, const EqBand& b) { SetEqBandMain(band, b); });
//   bands->AttachPanel(panel);           // follows the panel's notifications
//   bands->InstallWheelForwarding(this); // wheel over the page goes to the focused control

#include "model/EqBandRecord.h"

#include <QWidget>

#include <array>
#include <functional>

class CEqPanel;
class CXBmpSlider;
class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QTableWidget;
struct EqPanelBand;

// Control ids of the band list and the band editor on every EQ page.
enum EqBandListIds : int
{
    IDC_EQ_BAND_LIST = 1139,
    IDC_EQ_GROUP_TYPE = 1199,
    IDC_EQ_GROUP_FREQ = 1200,
    IDC_EQ_GROUP_GAIN = 1201,
    IDC_EQ_GROUP_Q = 1202,
    IDC_EQ_BAND_NUMBER = 1203,
    IDC_EQ_RADIO_PEQ = 1204, // 1204..1208: PEQ, LP, HP, LS, HS
    IDC_EQ_SLIDER_GAIN = 1209,
    IDC_EQ_SLIDER_FREQ = 1210,
    IDC_EQ_SLIDER_Q = 1211,
    IDC_EQ_EDIT_GAIN = 1212,
    IDC_EQ_EDIT_FREQ = 1213,
    IDC_EQ_EDIT_Q = 1214,
};

// Band list columns.
enum EqBandListColumn : int
{
    EQ_COL_NUMBER = 0,
    EQ_COL_TYPE,
    EQ_COL_GAIN,
    EQ_COL_FREQ,
    EQ_COL_Q,
    EQ_COL_COUNT,
};

class CEqBandList : public QWidget
{
    Q_OBJECT

public:
    using BandWriter = std::function<void(int band, const EqBand& record)>;

    explicit CEqBandList(QWidget* parent = nullptr);
    ~CEqBandList() override;

    // The panel whose band records both views show. Its BandChanged, BandPicked and BandNone
    // drive ShowBand and ShowBandList.
    void AttachPanel(CEqPanel* panel);
    CEqPanel* Panel() const { return panel_; }
    // Rows of the list: 10 music, mic and output channels, 7 echo and reverb, 5 SUB.
    void SetBandCount(int rows);
    int BandCount() const { return rows_; }
    // Called with the band's slot and record after every edit that writes to the processor.
    void SetBandWriter(BandWriter writer) { writer_ = std::move(writer); }
    // The input page's editor raises a typed frequency below 20 Hz (zero included) to 20.
    void SetRaiseFrequencyTo20(bool on) { raiseTo20_ = on; }
    // Dialog whose language table entries (IDD<dialog>_<control>) caption the editor's group
    // boxes and radios; without an entry the built-in texts are used.
    void SetDialogId(int dialogId);
    // Rebuilds the list (columns and rows) and recaptions the editor in the current language.
    void Retranslate();

    // Operations of the EQ pages.
    void ShowBandList();
    // Back to the list, as when the page switches to another EQ.
    void CloseEditor();
    void ShowBand(int band, bool write);
    void ApplyBandEditor();
    void SetBandTypeFromUi(int slot, int type);
    // The band's row (and the editor when it shows the band) again from the panel.
    void RefreshBand(int slot);
    // End of an in-place edit in the list: row, column and the new cell text.
    void ApplyListEdit(int row, int column, const QString& text);
    // Ctrl + digit: 1..9 pick bands 1..9, 0 picks band 10, on the attached panel.
    void PickBandByDigit(int digit);
    // Ctrl+0 .. Ctrl+9 shortcuts for PickBandByDigit, active while `scope` or a child has the
    // focus window.
    void InstallPickShortcuts(QWidget* scope);
    // Wheel messages over `page` go to the focused control when that is the panel or one of
    // the sliders.
    void InstallWheelForwarding(QWidget* page);

    int EditBand() const { return editBand_; }
    int EditType() const { return editType_; }

    // The controls, for the page's layout and for tests.
    QTableWidget* List() const { return list_; }
    QWidget* Editor() const { return editor_; }
    CXBmpSlider* GainSlider() const { return sliders_[0]; }
    CXBmpSlider* FreqSlider() const { return sliders_[1]; }
    CXBmpSlider* QSlider() const { return sliders_[2]; }
    QLineEdit* GainEdit() const { return edits_[0]; }
    QLineEdit* FreqEdit() const { return edits_[1]; }
    QLineEdit* QEdit() const { return edits_[2]; }
    QRadioButton* Radio(int index) const { return radios_[static_cast<size_t>(index)]; }
    QLabel* NumberLabel() const { return number_; }
    QString CellText(int row, int column) const;

    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

public slots:
    void OnSliderMoved(int controlId, int position);
    void OnRadioClicked(int controlId);

private:
    void BuildEditor();
    void BuildList();
    void FillRow(int row, const EqPanelBand& band);
    void SetCell(int row, int column, const QString& text);
    void RefreshEditor(int slot, const EqPanelBand& band);
    void RefreshAll(int slot);
    void Write(int slot);
    // The user type (0..5) a band shows in the list and the radios; -1 for none.
    int UserType(int slot, int type) const;
    QString Caption(int controlId, const char* zh, const char* en) const;

    CEqPanel* panel_ = nullptr;
    BandWriter writer_;
    int rows_ = 10;
    bool raiseTo20_ = false;
    int dialogId_ = 0;
    int editBand_ = -1;
    int editType_ = 0;
    bool filling_ = false;

    QTableWidget* list_ = nullptr;
    QWidget* editor_ = nullptr;
    std::array<QGroupBox*, 4> groups_{}; // type, gain, frequency, Q
    QLabel* number_ = nullptr;
    std::array<QRadioButton*, 5> radios_{};
    QButtonGroup* radioGroup_ = nullptr;
    std::array<CXBmpSlider*, 3> sliders_{}; // gain, frequency, Q
    std::array<QLineEdit*, 3> edits_{};     // gain, frequency, Q
};
