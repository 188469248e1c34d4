#pragma once
// The ribbon's step slider: a click on the track away from the thumb moves the thumb by
// exactly one unit towards the click; dragging the thumb reports every position. The wheel
// is left to the ribbon, which decides which control it turns.

#include <QSlider>

class CStepSlider : public QSlider
{
    Q_OBJECT
public:
    CStepSlider(int commandId, int minimum, int maximum, QWidget* parent = nullptr);
    int CommandId() const { return commandId_; }

signals:
    // The user moved the slider (a track click or a drag), with the new position.
    void Moved(int position);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    int commandId_;
};
