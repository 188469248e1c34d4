#pragma once
// The About box. The version texts appear only while a processor is connected; the model
// text and the "Peak" switch for the status poll are revealed by releasing F11 with Ctrl and
// Shift held.

#include <QCheckBox>
#include <QDialog>
#include <QLabel>

class DeviceSession;

class CAboutDlg : public QDialog
{
    Q_OBJECT
public:
    CAboutDlg(DeviceSession& session, QWidget* parent = nullptr);

    QLabel* Text1005() const { return text1005_; }
    QLabel* Text1006() const { return text1006_; }
    QLabel* Text1007() const { return text1007_; }
    QCheckBox* Box1045() const { return box1045_; }

protected:
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    DeviceSession& session_;
    QLabel* text1005_;
    QLabel* text1006_;
    QLabel* text1007_;
    QCheckBox* box1045_;
};
