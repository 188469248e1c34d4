#pragma once
// CGdipButton: the program's image button. A standard picture (and optionally an alternate
// picture for the checked state) is drawn stretched to the button with fixed corners, with
// the caption centred over it. Seven state pictures are prepared at the first drawing and
// reused; they are made again only when the size, the screen density or a picture changes.
//
// State chosen for drawing, in this order:
//   disabled look (or a disabled widget)  -> grey standard picture
//   pressed                               -> checked pressed (alternate, 1 px right and down)
//                                            when checked, else pressed (standard)
//   hover                                 -> checked hot / hot (through the brightening
//                                            matrix)
//   otherwise                             -> checked (alternate) / normal (standard)
// "Checked" states need an alternate picture; without one the standard states are drawn.
//
// A toggle button flips its checked flag at every press. A double click counts as a second
// press, so two quick clicks are two clicked() signals. Hovering shows the tooltip text (when
// set) after the tooltip delay, 2000 ms unless changed. The click reaches the page as the
// ordinary clicked() signal. The button keeps its own toggle and checked flags (SetToggle,
// SetChecked); Qt's checkable state and QWidget::setToolTip are not used by it.
//
// Transparent parts of the pictures show the parent's background as it is drawn at the time,
// so a page may change its background without the buttons keeping an old copy.
//
// Typical use:
//   auto* b = new CGdipButton(tr("Main"), this);
//   b->LoadStdImage(414);
//   b->LoadAltImage(395);
//   b->SetTextColor(Qt::white);
//   connect(b, &QPushButton::clicked, this, ...);
//   b->SetChecked(kind == 5);

#include <QColor>
#include <QImage>
#include <QPushButton>
#include <QString>
#include <QTimer>

#include <array>

class CGdipButton : public QPushButton
{
    Q_OBJECT
    // Colours a style sheet or theme may change.
    Q_PROPERTY(QColor textColor READ TextColor WRITE SetTextColor)

public:
    enum class State
    {
        Normal,
        Pressed,
        Hot,
        Disabled,
        Checked,
        CheckedPressed,
        CheckedHot,
    };
    static constexpr int kStateCount = 7;
    static constexpr int kDefaultTooltipDelayMs = 2000;

    explicit CGdipButton(QWidget* parent = nullptr);
    explicit CGdipButton(const QString& text, QWidget* parent = nullptr);
    ~CGdipButton() override;

    // Pictures by number (see CGdiPlusBitmapResource). Each returns whether it loaded; a
    // button without a standard picture draws a plain key cap.
    bool LoadStdImage(int number);
    bool LoadAltImage(int number); // sets has-alternate on success
    bool HasAltImage() const { return !alternate_.isNull(); }

    // Caption colour (black until set; the pages use white). The caption font is the
    // widget's font, "宋体" 12 pixels high from the start.
    void SetTextColor(const QColor& color);
    QColor TextColor() const { return textColor_; }

    // Text shown in a tooltip while the pointer rests on the button; empty for none.
    void SetToolTipText(const QString& text);
    QString ToolTipText() const { return tooltipText_; }
    // How long the pointer rests before the tooltip shows (tests shorten it).
    void SetTooltipDelay(int milliseconds) { tooltipTimer_.setInterval(milliseconds); }
    int TooltipDelay() const { return tooltipTimer_.interval(); }

    // Each press flips the checked flag.
    void SetToggle(bool toggle) { toggle_ = toggle; }
    bool IsToggle() const { return toggle_; }

    // Draw the alternate pictures (the navigation button of the shown page).
    void SetChecked(bool checked);
    bool IsChecked() const { return checked_; }

    // Draw the grey picture; the button still takes clicks unless disabled as a widget.
    void SetDisabledLook(bool disabled);
    bool HasDisabledLook() const { return disabledLook_; }

    bool IsHover() const { return hover_; }

    // The drawing rule above, as a plain function.
    static State ChooseState(bool disabledLook, bool pressed, bool hover, bool checked);
    // The state the button draws now.
    State CurrentState() const;
    // How often the state pictures were prepared (once for the life of a button that keeps
    // its size and pictures).
    int StatePictureBuildCount() const { return buildCount_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void Init();
    void OnPressed();
    void ShowTooltip();
    void BuildStatePictures(const QSize& size, qreal ratio);
    void InvalidateStatePictures() { statePictures_[0] = QImage(); }

    QImage standard_;
    QImage alternate_;
    int standardNumber_ = -1;
    int alternateNumber_ = -1;
    qreal loadedRatio_ = 1.0;
    std::array<QImage, kStateCount> statePictures_;
    int buildCount_ = 0;

    QColor textColor_{0, 0, 0};
    QString tooltipText_;
    QTimer tooltipTimer_;
    bool toggle_ = false;
    bool checked_ = false;
    bool disabledLook_ = false;
    bool hover_ = false;
    bool tracking_ = false;
};
