#pragma once
// The large equaliser curve panel of every EQ page: the response of each band and of their
// sum on a logarithmic 18 Hz .. 23 kHz plot, band markers to pick and drag, keyboard and
// wheel editing and two context menus. The panel never writes to the processor: every change
// goes to its owner page as a signal carrying the band record and its slot.

#include "eq/EqGeometry.h"

#include <QColor>
#include <QFont>
#include <QPainterPath>
#include <QPixmap>
#include <QVector>
#include <QWidget>

#include <array>

class QMenu;

// One band slot of the panel.
struct EqPanelBand
{
    float posX = 0.0f; // marker x relative to the plot's left edge (last drawn)
    float posY = 0.0f; // marker y relative to the plot's top edge
    int index = 0;     // the slot number
    int type = 1;      // filter type code 0..21
    float freq = 100.0f;
    float gain = 0.0f;
    float q = 1.0f;
    std::array<float, kEqCurvePoints> curve{}; // dB at the display frequencies
    float freqMin = 20.0f;
    float freqMax = 20000.0f;
    float gainMin = -15.0f;
    float gainMax = 15.0f;
};

class CEqPanel : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QColor backgroundColour MEMBER backgroundColour_ WRITE SetBackgroundColour)
    Q_PROPERTY(QColor gridColour MEMBER gridColour_ WRITE SetGridColour)
    Q_PROPERTY(QColor gridLabelColour MEMBER gridLabelColour_ WRITE SetGridLabelColour)
    Q_PROPERTY(QColor titleColour MEMBER titleColour_ WRITE SetTitleColour)
    Q_PROPERTY(QColor sumColour READ SumColour WRITE SetSumColour)
    Q_PROPERTY(QColor infoColour MEMBER infoColour_)
    Q_PROPERTY(QColor warnColour MEMBER warnColour_)
    Q_PROPERTY(QColor alarmColour MEMBER alarmColour_)
    Q_PROPERTY(QColor captionColour MEMBER captionColour_)
    Q_PROPERTY(QColor valueColour MEMBER valueColour_)
    Q_PROPERTY(QColor cursorColour MEMBER cursorColour_)
    Q_PROPERTY(QColor bypassColour MEMBER bypassColour_)

public:
    static constexpr int kSlots = 40;
    static constexpr int kSubKind = 2;
    static constexpr int kSubVisible = 5;

    explicit CEqPanel(QWidget* parent = nullptr);
    ~CEqPanel() override;

    // Owner operations. Each recomputes the touched curves and schedules a repaint.
    void SetPanelKind(int kind);
    void SetBandCount(int n);
    void SetBandType(int i, int type);
    void SetBandGain(int i, double gain);
    void SetBandQ(int i, double q);
    // Recomputes one band's curve (in SUB mode a visible band first hands its frequency and
    // Q to its three companion stages). The owner calls it after writing `freq` itself.
    void UpdateBandCurve(int band);
    void SetSubFilterType(int i, int type);
    void SetSubCrossover(int i, int shape);
    // The menu command handler: filter types 2025..2029, Copy 3025, Paste 3026, filter file
    // import 3027 and export 3028.
    void OnMenuCommand(int id);

    // Band records: the owner reads them and writes `freq` (then calls UpdateBandCurve).
    EqPanelBand& Band(int i);
    const EqPanelBand& Band(int i) const;
    int BandCount() const { return bandCount_; }
    int Kind() const { return kind_; }
    bool IsSubMode() const { return kind_ == kSubKind; }
    // Bands with a marker: 5 in SUB mode, else bandCount.
    int VisibleCount() const;
    // Slots of the three companion stages of visible SUB band k (0..4).
    static std::array<int, 3> SubCompanions(int k);

    int Selected() const { return selected_; }
    void SetSelected(int slot);
    int Hover() const { return hover_; }
    bool Bypass() const { return bypass_; }
    void SetBypass(bool on);
    int Language() const { return language_; }
    void SetLanguage(int language);

    EqPlotRect PlotRect() const { return axes_.plot; }
    const EqAxes& Axes() const { return axes_; }
    // Sum of the curves of every slot below bandCount whose type is non-zero.
    const std::array<float, kEqCurvePoints>& SumCurve() const { return sum_; }
    // Client position of a band's marker from its frequency and gain.
    QPointF MarkerPoint(int slot) const;

    QColor SumColour() const { return sumColour_; }
    void SetSumColour(const QColor& c);
    void SetBackgroundColour(const QColor& c);
    void SetGridColour(const QColor& c);
    void SetGridLabelColour(const QColor& c);
    void SetTitleColour(const QColor& c);
    void SetBandColours(const QVector<QColor>& colours);
    QColor BandColour(int slot) const;

    QSize sizeHint() const override { return {1000, 480}; }

signals:
    // EQ_BAND_CHANGED: a band was picked by a press or changed by drag, key, wheel or menu.
    void BandChanged(const EqPanelBand& band, int slot);
    // EQ_BAND_NONE: the left button was released after a press that hit no band.
    void BandNone();
    // EQ_COPY_PASTE: action 0 Copy, 1 Paste; kind is the panel's kind.
    void CopyPaste(int action, int kind);
    // A filter file for the whole EQ: action 0 import, 1 export; kind is the panel's kind.
    void FilterFile(int action, int kind);
    // EQ_BAND_PICKED: a band was picked with a digit key.
    void BandPicked(const EqPanelBand& band, int slot);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;
    // Shows a context menu and returns the id of the chosen item, 0 when none. Tests
    // override it to choose without a modal loop.
    virtual int RunMenu(QMenu& menu, const QPoint& globalPos);

private:
    bool ValidSlot(int i) const { return i >= 0 && i < kSlots; }
    // Band curve only, no sum or paths.
    void ComputeCurve(int i);
    void ComputeCurveWithCompanions(int i);
    // Sum, paths and marker positions from the stored curves; then a repaint.
    void CurvesChanged();
    void RebuildSum();
    void RebuildPaths();
    void PlaceMarkers();
    void StoreMarker(int slot);
    void NotifyChanged(int slot);
    void ClampBand(int slot);
    void SetSubStages(int i, const std::array<int, 4>& codes);
    void PickDigit(int slot);
    void InvalidateGrid();
    const QPixmap& GridLayer();
    void DrawMarkers(QPainter& p) const;
    void DrawValueLabels(QPainter& p, int slot) const;
    void DrawInfoLine(QPainter& p, int slot) const;

    std::array<EqPanelBand, kSlots> bands_{};
    int bandCount_ = 10;
    int selected_ = -1;
    int hover_ = -1;
    bool leftDown_ = false;
    bool rightDown_ = false;
    bool moved_ = false;
    int pressX_ = 0;
    int pressY_ = 0;
    int grabX_ = 0;
    int grabY_ = 0;
    bool bypass_ = false;
    int kind_ = 0;
    int language_ = 0;
    EqAxes axes_;
    double editGainMin_ = -15.0;
    double editGainMax_ = 15.0;

    std::array<float, kEqCurvePoints> sum_{};
    QPainterPath sumPath_;
    QPainterPath fillPath_;
    bool hasFill_ = false;
    QColor fillColour_;

    QPixmap grid_;
    bool gridValid_ = false;

    QFont panelFont_;
    QFont labelFont_;
    QFont numberFont_;
    QFont infoFont_;
    QFont bypassFont_;

    QColor backgroundColour_{20, 20, 20};
    QColor gridColour_{64, 64, 64};
    QColor gridLabelColour_{128, 128, 128};
    QColor titleColour_{255, 255, 0};
    QColor sumColour_{0, 200, 255, 255};
    QColor infoColour_{0, 255, 0};
    QColor warnColour_{255, 255, 0};
    QColor alarmColour_{255, 0, 0};
    QColor captionColour_{180, 180, 180};
    QColor valueColour_{16, 255, 16};
    QColor cursorColour_{255, 0, 0};
    QColor bypassColour_{255, 255, 255};
    QVector<QColor> bandColours_;
};
