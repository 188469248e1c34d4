#pragma once
// CCompressPanelPlus: the static transfer curve of one output compressor. A square plot with
// the input level along x and the output level up y, both -90..+6 dB, grid lines labelled
// "-90dB" .. "6dB" along x and "+6dB", "0dB", "-10dB" .. "-90dB" up y; the curve follows the
// unity line up to the threshold (marked with a dot) and rises with slope 1 / ratio above it up
// to +6 dB input; a translucent band marks the levels above the threshold. While the
// compressor is off the panel shows "OFF" in its centre.
//
// Grid and labels are a cached layer drawn again only after a resize; the curve is a second
// cached layer drawn again only when the working flag, the threshold or the ratio changes.

#include <QPixmap>
#include <QWidget>

class CCompressPanelPlus : public QWidget
{
    Q_OBJECT

public:
    explicit CCompressPanelPlus(QWidget* parent = nullptr);

    // Each redraws when the value changes.
    void SetWorking(bool working);
    void SetThreshold(float thresholdDb);
    // Keeps 1 / ratio as the slope above the threshold.
    void SetRatio(float ratio);

    bool Working() const { return working_; }
    float Threshold() const { return threshold_; }
    float Slope() const { return slope_; }

    // How often each cached layer was drawn.
    int GridBuilds() const { return gridBuilds_; }
    int CurveBuilds() const { return curveBuilds_; }

    QSize sizeHint() const override { return {180, 170}; }
    QSize minimumSizeHint() const override { return {120, 110}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void BuildGrid();
    void BuildCurve();
    void CurveChanged();

    bool working_ = true;
    float threshold_ = 0.0f;
    float slope_ = 1.0f;
    QPixmap grid_;
    QPixmap curve_;
    bool gridValid_ = false;
    bool curveValid_ = false;
    int gridBuilds_ = 0;
    int curveBuilds_ = 0;
};
