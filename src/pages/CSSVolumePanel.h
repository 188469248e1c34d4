#pragma once
// The room drawing of the sound-field page: the room seen from above with a one-metre grid,
// the listener and the eight speakers. The left button drags a point; the page hears of the
// grab and of every move, in metres.

#include "dsp/SoundField.h"

#include <QImage>
#include <QWidget>

#include <array>

class CSSVolumePanel : public QWidget
{
    Q_OBJECT

public:
    // A press within this many pixels (across and down) of a point grabs it.
    static constexpr int kGrabRadius = 16;

    explicit CSSVolumePanel(QWidget* parent = nullptr);

    void SetRoomSize(int width, int length);
    // Point 0 the listener, 1..8 the speakers; other numbers are ignored.
    void SetPointPosition(int point, float x, float y);
    // The level shown beside a speaker's label (dB); points 1..8.
    void SetSpeakerLevel(int point, float db);
    // Speaker labels in language 0 (Chinese) or 1 (English).
    void SetLanguage(int language);

    SoundFieldPosition PointPosition(int point) const;
    // Where a point is drawn, in widget pixels.
    QPointF PointPixel(int point) const;
    SoundFieldView View() const;
    // The point being dragged, -1 when none.
    int GrabbedPoint() const { return grabbed_; }

    // The label drawn under a speaker (points 1..8) in a language.
    static QString SpeakerLabel(int point, int language);
    // The colour of a speaker's number.
    static QColor SpeakerColour(int point);

signals:
    void PointGrabbed(int point, float x, float y);
    void PointMoved(int point, float x, float y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    struct PointRecord
    {
        int number = 0;
        QPointF pixel;
        float x = 0.0f;
        float y = 0.0f;
    };
    void Place(PointRecord& point) const;
    void PlaceAll();
    void resizeEvent(QResizeEvent* event) override;
    void DrawGrid(QPainter& p) const;
    void DrawSpeaker(QPainter& p, const PointRecord& point) const;

    float roomWidth_ = 4.0f;
    float roomLength_ = 4.0f;
    std::array<PointRecord, kSoundFieldPointCount> points_{};
    std::array<float, kSoundFieldPointCount> levels_{};
    int grabbed_ = -1;
    int language_ = 0;
    QImage listenerPicture_;
    QImage speakerPicture_;
};
