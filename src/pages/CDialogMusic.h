#pragma once
// The mic and music input page: routing, noise gate, volume and level of the four mic
// ports, the music level meters, one EQ at a time (mic channel A, mic channel B or music)
// with its band list and editor, the echo and reverb parameter list of the mic channel, and
// two small panels that open the effects EQ page.

#include "pageapi/PageRegistry.h"
#include "pages/DialogTextBinder.h"

#include <QTimer>

#include <array>
#include <cstdint>
#include <functional>

class CEqBandList;
class CEqPanel;
class CEqSection;
class CGdipButton;
class CPeakMeterCtrl;
class CSmallEqPanel;
class CXBmpSlider;
class QLabel;
class QLineEdit;
class QGroupBox;
class QRadioButton;
class QTableWidget;

// Control ids of the input page.
enum DialogMusicIds : int
{
    IDC_MUSIC_PORT_CAPTION = 1185, // 1185..1188
    IDC_MUSIC_PORT_RADIO_A = 1190, // 1190, 1192, 1194, 1196; channel B one higher
    IDC_MUSIC_NG_SLIDER = 1052,    // 1052..1055
    IDC_MUSIC_NG_VALUE = 1152,     // 1152, 1154, 1156, 1158; captions one higher
    IDC_MUSIC_VOL_SLIDER = 1056,   // 1056..1059
    IDC_MUSIC_VOL_VALUE = 1160,    // 1160, 1162, 1164, 1166; captions one higher
    IDC_MUSIC_PORT_METER = 1170,   // 1170..1173
    IDC_MUSIC_PEAK_GROUP = 1142,
    IDC_MUSIC_SOURCE_CAPTION = 1182, // 1182..1184
    IDC_MUSIC_VIEW_MIC_A = 1068,
    IDC_MUSIC_VIEW_MIC_B = 1069,
    IDC_MUSIC_VIEW_MUSIC = 1070,
    IDC_MUSIC_EQ_PANEL = 1040,
    IDC_MUSIC_PARAM_LIST = 1141,
    IDC_MUSIC_PARAM_CAPTION = 1124,
    IDC_MUSIC_PARAM_SLIDER = 1000,
    IDC_MUSIC_PARAM_EDIT = 1038,
    IDC_MUSIC_REVERB_PANEL = 1144,
    IDC_MUSIC_ECHO_PANEL = 1143,
    IDC_MUSIC_REVERB_CAPTION = 1132,
    IDC_MUSIC_ECHO_CAPTION = 1145,
    IDC_MUSIC_REVERB_HINT = 1146,
    IDC_MUSIC_ECHO_HINT = 1189,
};

class CDialogMusic : public CPageBase
{
    Q_OBJECT

public:
    // Reads status byte i (0..14) of the last status block.
    using StatusReader = std::function<uint8_t(int)>;
    static constexpr int kMeterPollMs = 300;

    // `shell` may be null (tests): no pop-ups, no page changes, no status block.
    explicit CDialogMusic(PageShell* shell, QWidget* parent = nullptr);
    ~CDialogMusic() override;

    // CPageBase
    PageKind Kind() const override { return PageKind::Music; }
    void Refresh() override { RefreshInputPage(); }
    void Relabel() override;
    PageEq* Eq() override;

    // Operations of the page.
    void RefreshInputPage();
    void ApplyLanguage();
    void SetInputView(int view);
    void SelectParam(int row);
    void ApplyParam(int row, int v);
    // Timer 1: the first ten status bytes into the ten meters.
    void PollMeters();
    void SetStatusReader(StatusReader reader) { status_ = std::move(reader); }

    int ParamRow() const { return paramRow_; }
    int EditBand() const;

    // The controls, for tests.
    CEqSection* EqSection() const { return eq_; }
    CEqPanel* Panel() const;
    CEqBandList* Bands() const;
    QTableWidget* ParamList() const { return params_; }
    CXBmpSlider* ParamSlider() const { return paramSlider_; }
    QLineEdit* ParamEdit() const { return paramEdit_; }
    QLabel* ParamCaption() const { return paramCaption_; }
    CSmallEqPanel* ReverbPanel() const { return reverbPanel_; }
    CSmallEqPanel* EchoPanel() const { return echoPanel_; }
    CGdipButton* ViewButton(int index) const { return viewButtons_[static_cast<size_t>(index)]; }
    QRadioButton* RouteRadio(int port, int channel) const
    {
        return routes_[static_cast<size_t>(2 * port + channel)];
    }
    CXBmpSlider* NoiseGateSlider(int port) const { return gates_[static_cast<size_t>(port)]; }
    CXBmpSlider* VolumeSlider(int port) const { return volumes_[static_cast<size_t>(port)]; }
    QLabel* NoiseGateValue(int port) const { return gateValues_[static_cast<size_t>(port)]; }
    QLabel* VolumeValue(int port) const { return volumeValues_[static_cast<size_t>(port)]; }
    // Meters in control id order: 1168, 1169 SPDIF, 1170..1173 mic ports, 1174..1177 Aux.
    CPeakMeterCtrl* Meter(int controlId) const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void BuildPortColumn(int port);
    void BuildMusicPeak();
    void BuildViewButtons();
    void BuildParamList();
    void BuildSmallPanels();
    void BuildEq();
    void RebuildParamRows();
    void FitParamRows();
    void RefreshEq();
    void RefreshParamRows();
    void RefreshSmallPanels();
    void OnSliderMoved(int controlId, int position);
    void OnParamWheel(int step);
    void OpenEffect(bool reverb);
    int Channel() const;
    bool MicView() const;
    void SetRowValueText(int row, const QString& text);

    PageShell* shell_;
    StatusReader status_;
    DialogTextBinder texts_;
    int paramRow_ = 0;

    std::array<QLabel*, 4> portCaptions_{};
    std::array<QRadioButton*, 8> routes_{};
    std::array<CXBmpSlider*, 4> gates_{};
    std::array<CXBmpSlider*, 4> volumes_{};
    std::array<QLabel*, 4> gateValues_{};
    std::array<QLabel*, 4> volumeValues_{};
    std::array<CPeakMeterCtrl*, 10> meters_{}; // control ids 1168..1177
    QGroupBox* peakGroup_ = nullptr;
    std::array<CGdipButton*, 3> viewButtons_{};
    CEqSection* eq_ = nullptr;
    QTableWidget* params_ = nullptr;
    QLabel* paramCaption_ = nullptr;
    CXBmpSlider* paramSlider_ = nullptr;
    QLineEdit* paramEdit_ = nullptr;
    CSmallEqPanel* reverbPanel_ = nullptr;
    CSmallEqPanel* echoPanel_ = nullptr;
    std::array<QLabel*, 4> smallCaptions_{}; // reverb caption, hint, echo caption, hint
    QTimer meterTimer_;
    QSize templateSize_;
};
