#pragma once
// CSpinButton: an up/down button pair beside an edit box. It keeps a position within its range
// and reports each press (held down, it repeats) as a step of +1 or -1 with Stepped; the page
// decides what a step does and sets the position back.

#include <QWidget>

class QToolButton;

class CSpinButton : public QWidget
{
    Q_OBJECT

public:
    explicit CSpinButton(QWidget* parent = nullptr);

    void SetRange(int minimum, int maximum);
    // Stores the position limited to the range; reports nothing.
    void SetPos(int position);
    int GetPos() const { return position_; }

    QToolButton* UpButton() const { return up_; }
    QToolButton* DownButton() const { return down_; }
    QSize sizeHint() const override { return {16, 22}; }

signals:
    void Stepped(int delta);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QToolButton* up_;
    QToolButton* down_;
    int minimum_ = 0;
    int maximum_ = 100;
    int position_ = 0;
};
