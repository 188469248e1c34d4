#pragma once
// CXBmpSlider: the program's bitmap slider. A channel picture is the track, the same (or a
// separate) fill picture is drawn over the track on the low side of the thumb, and one of
// three thumb pictures (normal, focused, disabled) shows the position.
//
// Input (all of it ignored while the slider's own enabled flag is clear):
//   left press on the thumb   takes the focus and starts dragging; the thumb stays put
//   left press on the track   takes the focus and moves one step towards the press
//   drag                      follows the pointer
//   Up/Right, Down/Left       +1 / -1
//   wheel                     +1 per message with a positive delta, -1 with a negative one,
//                             only while the slider has the focus; otherwise the message goes
//                             on to the parent, so a page can give it to its focused control
//                             (QCoreApplication::sendEvent(focusWidget(), wheelEvent))
//   Tab                       moves the focus on as usual
// Every press, drag movement, arrow key and wheel message posts SliderMoved, whether the
// position changed or not. Gaining the focus posts SliderFocused. Both are posted (queued),
// so a page handles them after the slider has finished with the input; a test must let the
// event loop run (QCoreApplication::processEvents) before it sees them.
//
// Typical use on a page:
//   auto* s = new CXBmpSlider(this, 1056);
//   s->SetupHorizontal();               // or SetupVertical()
//   s->SetRange(0, 100);
//   s->SetPos(ParamStore.GetInt(PRM_MICPORT1_VOL));
//   connect(s, &CXBmpSlider::SliderMoved, this, &Page::OnSliderMoved);
//
// The slider draws the channel's area (W x H, see SliderGeometry.h) from its top-left corner;
// the widget's size hint is that area, and a slider that nobody has resized takes that size
// by itself when its pictures are set. Positions always stay within minimum..maximum.

#include "controls/SliderGeometry.h"

#include <QColor>
#include <QImage>
#include <QSize>
#include <QWidget>

class CXBmpSlider : public QWidget
{
    Q_OBJECT
    // Colours a style sheet or theme may change.
    Q_PROPERTY(QColor backgroundColor READ BackgroundColor WRITE SetBackgroundColor)

public:
    explicit CXBmpSlider(QWidget* parent = nullptr, int controlId = 0);
    ~CXBmpSlider() override;

    // The number the notifications carry (the control's id on its page).
    void SetControlId(int id) { controlId_ = id; }
    int ControlId() const { return controlId_; }

    // The program's two set-ups: pictures, margins and background of every horizontal
    // (channel 324, thumbs 320/369/325, margins 7,7,3,2) and vertical (channel 448, thumbs
    // 449/447/450, margins 3,2,7,7) slider, background RGB(240,250,255).
    void SetupHorizontal();
    void SetupVertical();

    // Range. The position is pulled into the new range (without a notification) and the
    // slider redrawn. A maximum below the minimum is raised to the minimum.
    void SetRange(int minimum, int maximum);
    void SetRangeMin(int minimum) { SetRange(minimum, geometry_.maximum); }
    void SetRangeMax(int maximum) { SetRange(geometry_.minimum, maximum); }
    int GetRangeMin() const { return geometry_.minimum; }
    int GetRangeMax() const { return geometry_.maximum; }

    // Stores the value limited to the range and redraws; posts nothing.
    void SetPos(int position);
    int GetPos() const { return position_; }

    // The slider's own enabled flag: its look (disabled thumb) and whether it takes input.
    // A QWidget that is disabled the ordinary way also draws the disabled thumb.
    void SetSliderEnabled(bool enabled);
    bool IsSliderEnabled() const { return enabled_; }

    // Space between the channel's edges and the thumb's travel, in the order left, right,
    // top, bottom.
    void SetMargins(int left, int right, int top, int bottom);

    // Channel picture (also the fill picture unless `fillNumber` is given) by picture number;
    // its size becomes W x H. Returns whether the channel picture loaded; without it the
    // slider draws a plain groove over the widget's size.
    bool SetBitmapChannel(int channelNumber, int fillNumber = -1);
    // Thumb pictures normal, focused, disabled; the normal one gives tw x th. Returns whether
    // all three loaded; a missing one is drawn as a plain thumb.
    bool SetBitmapThumb(int normalNumber, int focusedNumber, int disabledNumber);

    // Draws the channel at this size instead of the picture's own, stretching the middle of
    // the picture along the track and keeping its ends (across the track the picture keeps
    // its size); W x H become this size. An empty size goes back to the picture's size.
    void SetChannelSize(const QSize& size);

    void SetVertical(bool vertical);
    bool IsVertical() const { return geometry_.vertical; }

    // Colour the drawing area is cleared with (alpha allowed; opaque RGB(199,199,199) until
    // set).
    void SetBackgroundColor(const QColor& color);
    QColor BackgroundColor() const { return background_; }

    // Number of the thumb picture drawn now: the disabled one while the enabled flag is clear
    // (or the widget is disabled), else the focused one while it has the focus, else the
    // normal one.
    int ThumbPictureNumber() const { return thumbNumbers_[CurrentThumb()]; }

    bool IsFocused() const { return focused_; }
    bool IsDragging() const { return dragging_; }

    // The geometry in force (channel and thumb sizes, margins, range, orientation) and the
    // thumb's rectangle at the current position, in widget pixels.
    SliderGeometry Geometry() const;
    SliderThumbRect ThumbRect() const { return SliderThumbAt(Geometry(), position_); }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

signals:
    // SLIDER_MOVED (3025): the slider's control id and its position.
    void SliderMoved(int controlId, int position);
    // SLIDER_FOCUSED (3026): the slider's control id and 0.
    void SliderFocused(int controlId, int zero);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    enum Thumb
    {
        ThumbNormal,
        ThumbFocused,
        ThumbDisabled,
        ThumbCount
    };

    Thumb CurrentThumb() const;
    void ReloadPictures();
    void FitToChannel();
    void Step(int delta);
    void PostMoved();
    QSize ChannelSize() const;
    QSize ThumbSize() const;
    void DrawChannel(QPainter& p, const QImage& picture, const QRect& area, bool fill) const;
    void DrawPlainThumb(QPainter& p, const QRect& r, Thumb which) const;

    int controlId_ = 0;
    SliderGeometry geometry_; // margins, range and orientation; sizes come from the pictures
    int position_ = 0;
    bool enabled_ = true;
    bool focused_ = false;
    bool dragging_ = false;
    QColor background_{199, 199, 199};
    QSize channelSize_; // explicit channel size, empty for the picture's own
    QSize autoSize_;    // the size the slider last gave itself

    int channelNumber_ = -1;
    int fillNumber_ = -1;
    int thumbNumbers_[ThumbCount] = {-1, -1, -1};
    qreal loadedRatio_ = 0.0; // device pixel ratio the pictures were loaded for
    QImage channel_;
    QImage fill_;
    QImage thumbs_[ThumbCount];
};
