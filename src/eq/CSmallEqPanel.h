#pragma once
// A small read-only thumbnail of a seven-band equaliser: the summed response over a fixed
// grid, "PASS" while bypassed, a frame while hovered, and a click signal for the page.

#include "eq/EqGeometry.h"

#include <QColor>
#include <QCursor>
#include <QFont>
#include <QPixmap>
#include <QPointF>
#include <QWidget>

#include <array>

inline constexpr int kSmallEqPoints = 56;
inline constexpr int kSmallEqBands = 7;

struct SmallEqBand
{
    int type = 1; // 0 OFF, 1 PEQ, 2 LP, 3 HP, 4 LS, 5 HS
    float freq = 1000.0f;
    float gain = 0.0f;
    float q = 1.414f;
    std::array<float, kSmallEqPoints> pointY{}; // y pixel of the band's own response
};

class CSmallEqPanel : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QColor curveColour READ CurveColour WRITE SetCurveColour)
    Q_PROPERTY(QColor backgroundColour MEMBER backgroundColour_ WRITE SetBackgroundColour)
    Q_PROPERTY(QColor frameColour MEMBER frameColour_)
    Q_PROPERTY(QColor passColour MEMBER passColour_)

public:
    explicit CSmallEqPanel(QWidget* parent = nullptr);

    // Ignored for |f| < 1e-7; otherwise clamped to 20..20000.
    void SetSmallBandFreq(int band, double freqHz);
    // Clamped to -15..+15, whatever the type.
    void SetSmallBandGain(int band, double gainDb);
    // The owner writes type and q into Band(i) and then calls this.
    void UpdateSmallBand(int band);

    SmallEqBand& Band(int i);
    const SmallEqBand& Band(int i) const;
    // The 56 points of the summed response, client coordinates.
    const std::array<QPointF, kSmallEqPoints>& Curve() const { return curve_; }
    // The summed response in dB at point u (each band rounded to a tenth).
    double SumDb(int u) const;
    const SmallEqAxes& Axes() const { return axes_; }

    QColor CurveColour() const { return curveColour_; }
    void SetCurveColour(const QColor& c);
    void SetBackgroundColour(const QColor& c);
    bool Bypass() const { return bypass_; }
    void SetBypass(bool on);
    bool Hovered() const { return hovered_; }

    QSize sizeHint() const override { return {160, 80}; }

signals:
    // The left button was clicked on the panel.
    void Clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void ComputeBand(int band);
    void RebuildCurve();
    const QPixmap& Background();

    std::array<SmallEqBand, kSmallEqBands> bands_{};
    std::array<QPointF, kSmallEqPoints> curve_{};
    std::array<double, kSmallEqPoints> sumDb_{};
    SmallEqAxes axes_;
    QColor curveColour_{0, 200, 255, 255};
    QColor backgroundColour_{0, 0, 0};
    QColor frameColour_{0, 255, 255};
    QColor passColour_{255, 255, 255};
    bool bypass_ = false;
    bool hovered_ = false;
    // The cursor the owner gave, kept while the panel is disabled.
    QCursor keptCursor_;
    bool cursorKept_ = false;
    bool pressed_ = false;
    QFont passFont_;
    QPixmap background_;
};
