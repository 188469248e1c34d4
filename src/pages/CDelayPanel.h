#pragma once
// CDelayPanel: the delay chart. One row per speaker channel, spaced evenly down the chart in
// row order and labelled with the speaker's name, a time axis from 0 to 106 ms labelled every
// 20 ms, and on each row a marker at the channel's delay with its value ("%.1fms"). A left
// press within 15 pixels of a marker grabs it; while the button is held the marker follows
// the pointer horizontally (keeping the distance at which it was grabbed) and DelayDragged
// reports the new delay; releasing ends the drag.
//
// The grid, the row names and the axis labels are drawn once into a cached layer (again only
// after a resize or a language change); a repaint draws that layer and the markers.

#include "pages/DelayChartGeometry.h"

#include <QImage>
#include <QPixmap>
#include <QWidget>

#include <array>

class CDelayPanel : public QWidget
{
    Q_OBJECT

public:
    explicit CDelayPanel(QWidget* parent = nullptr);

    // Puts channel 0..7's marker at `ms`, limited to 1.5..100.0 ms; redraws when it moved.
    void SetValue(int channel, double ms);
    float Value(int channel) const;

    // Row names and labels in language 0 (Chinese) or 1 (English).
    void SetLanguage(int language);

    // The row being dragged, -1 when none.
    int DraggedRow() const { return dragRow_; }
    // Where things are drawn (for tests and the page).
    DelayChartArea Area() const { return DelayChartAreaOf(width(), height()); }
    QPointF MarkerCentre(int channel) const;
    // How often the cached layer was drawn.
    int LayerBuilds() const { return layerBuilds_; }

    QSize sizeHint() const override { return {640, 240}; }
    QSize minimumSizeHint() const override { return {400, 160}; }

signals:
    // A dragged marker moved: its channel and the new delay (ms, limited).
    void DelayDragged(int channel, float ms);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void BuildLayer();
    void BuildMarker();

    std::array<float, kDelayChartRows> delays_{};
    int language_ = 0;
    int dragRow_ = -1;
    double grabOffset_ = 0.0;
    QPixmap layer_;
    QImage marker_;
    bool layerValid_ = false;
    int layerBuilds_ = 0;
};
