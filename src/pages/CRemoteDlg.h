#pragma once
// Remote-control learning: the window with the picture of a remote whose keys are clickable
// spots, the help picture, and the load, save and apply buttons; and the small modal dialog
// shown while the processor learns one key. Status polling is off while the window exists.

#include "app/PageRegistry.h"
#include "pages/DialogTextBinder.h"

#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <array>
#include <functional>

class CGdipButton;
class QLabel;
class QLineEdit;
class QPushButton;

// The picture of the remote; a click on a key reports the key's index in the layout.
class CRemotePicture : public QWidget
{
    Q_OBJECT

public:
    explicit CRemotePicture(QWidget* parent = nullptr);
    QSize sizeHint() const override;
    // The centre of key `index` in widget coordinates (for tests and tools).
    QPoint KeyCentre(int index) const;

signals:
    void KeyClicked(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QImage picture_;
};

// Shown modally while the key of one function is learned.
class CRemoteStudyDlg : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kCloseDelayMs = 1000;

    CRemoteStudyDlg(int function, QWidget* parent = nullptr);

    // A key was learned: shows it and closes after the close delay.
    void OnKey(int code);
    // Tests shorten the delay.
    void SetCloseDelay(int ms) { closeTimer_.setInterval(ms); }
    int CloseDelay() const { return closeTimer_.interval(); }
    bool KeyLearned() const { return learned_; }

    QLabel* LearningText() const { return learning_; }
    QLineEdit* CodeBox() const { return code_; }
    QLabel* MessageLine() const { return message_; }
    QPushButton* CancelButton() const { return cancel_; }
    QPushButton* CloseButton() const { return close_; }

    // "Cancel" and the close box while waiting: a waiting writer is released and the
    // processor told to stop learning.
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    DialogTextBinder texts_;
    QLabel* learning_ = nullptr;
    QLineEdit* code_ = nullptr;
    QLabel* message_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* close_ = nullptr;
    QTimer closeTimer_;
    bool learned_ = false;
};

class CRemoteDlg : public CToolWindowBase
{
    Q_OBJECT

public:
    // Asks for a remote data file to open (save = false) or to save; empty when cancelled.
    using FileChooser = std::function<QString(QWidget* parent, bool save)>;

    explicit CRemoteDlg(PageShell* shell, QWidget* parent = nullptr);
    // Switches status polling back on when it was on at opening.
    ~CRemoteDlg() override;

    ToolKind Kind() const override { return ToolKind::Remote; }
    // The language table and the help picture of the current language.
    void Relabel() override;
    // A learned key from the main view: handed to the open learning dialog.
    void OnRemoteKey(int key) override;

    // Clicking key `index` of the picture (a function's key starts learning it).
    void ClickKey(int index);
    void LoadFile();
    void SaveFile();
    void Apply();

    void SetFileChooser(FileChooser chooser) { chooser_ = std::move(chooser); }
    void SetStudyCloseDelay(int ms) { studyCloseDelay_ = ms; }
    CRemoteStudyDlg* StudyDialog() const { return study_; }
    CRemotePicture* Picture() const { return picture_; }
    QLabel* HelpPicture() const { return help_; }
    int HelpPictureNumber() const { return helpNumber_; }
    CGdipButton* Button(int index) const { return buttons_[static_cast<size_t>(index)]; }

private:
    bool RefuseWithoutLink();
    // Shows the file warnings collected during a file operation as boxes.
    void ShowWarnings(const std::vector<std::pair<std::string, std::string>>& warnings);

    PageShell* shell_;
    DialogTextBinder texts_;
    CRemotePicture* picture_ = nullptr;
    QLabel* help_ = nullptr;
    int helpNumber_ = 0;
    std::array<CGdipButton*, 3> buttons_{}; // load, save, apply
    QPointer<CRemoteStudyDlg> study_;
    FileChooser chooser_;
    int studyCloseDelay_ = CRemoteStudyDlg::kCloseDelayMs;
    bool peakPollingWasOn_ = false;
};
