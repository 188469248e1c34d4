#pragma once
// A pair of arrow buttons beside an edit box, holding a whole-number position in a range. A
// click on an arrow (or the wheel over it) steps the position by one within the range and
// reports the new position; the buddy edit box is the page's to fill. The up arrow raises
// the position.

#include <QWidget>

class QToolButton;

class CSpinButton : public QWidget
{
    Q_OBJECT

public:
    explicit CSpinButton(QWidget* parent = nullptr);

    // The range is kept in order (lower, upper); the position is held inside it.
    void SetRange(int lower, int upper);
    int Lower() const { return lower_; }
    int Upper() const { return upper_; }
    // Sets the position (limited to the range) without reporting it.
    void SetPos(int position);
    int GetPos() const { return position_; }
    // Steps by `delta` within the range and reports the new position (also when a range end
    // keeps it where it was, as the platform's control does).
    void Step(int delta);

    QToolButton* UpButton() const { return up_; }
    QToolButton* DownButton() const { return down_; }

signals:
    void Stepped(int position);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    QToolButton* up_ = nullptr;
    QToolButton* down_ = nullptr;
    int lower_ = 0;
    int upper_ = 100;
    int position_ = 0;
};
