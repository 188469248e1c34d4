#pragma once
// The main frame: ribbon on top, the main view in the middle, the status bar below. It owns
// the UI port and the device session, and asks the session before it closes.

#include "app/DeviceSession.h"

#include <QCheckBox>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QTimer>

#include <functional>
#include <memory>

class AppSettings;
class CKW4620v13View;
class CRibbonBar;
class FileMessageBoxes;
class QtLinkUi;
class QtUiPort;
class ShortcutFilter;

inline constexpr char kWindowTitle[] = "DSP-4620-v3.3";
inline constexpr char kInstanceName[] = "DSP-Audio-W4620";

class CMainFrame : public QMainWindow
{
    Q_OBJECT
public:
    using SessionFactory = std::function<std::unique_ptr<DeviceSession>(UiPort& ui)>;

    // An empty factory gives a session without a processor.
    explicit CMainFrame(AppSettings& settings, SessionFactory sessionFactory = {},
                        QWidget* parent = nullptr);
    ~CMainFrame() override;

    CRibbonBar* Ribbon() const { return ribbon_; }
    CKW4620v13View* View() const { return view_; }
    QtUiPort& Ui() const { return *ui_; }
    DeviceSession& Session() const { return *session_; }
    QtLinkUi& LinkHooks() const { return *linkUi_; }

    QLabel* Pane120() const { return pane120_; }
    QLabel* Pane121() const { return pane121_; }
    QCheckBox* Box1121() const { return box1121_; }
    QPushButton* Button1122() const { return button1122_; }

    // Status panes from the link state (the framework's idle update).
    void UpdateStatus();
    // A later start asked for the window: restore it if minimised and bring it forward.
    void ActivateFromOtherInstance();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildStatusBar();
    void SetPaneColour(QLabel* pane, const QColor& colour);

    AppSettings& settings_;
    std::unique_ptr<QtUiPort> ui_;
    std::unique_ptr<FileMessageBoxes> fileBoxes_; // file warnings as boxes
    std::unique_ptr<QtLinkUi> linkUi_;
    std::unique_ptr<DeviceSession> session_;
    CRibbonBar* ribbon_ = nullptr;
    CKW4620v13View* view_ = nullptr;
    std::unique_ptr<ShortcutFilter> filter_;
    QLabel* pane120_ = nullptr;
    QLabel* pane121_ = nullptr;
    QCheckBox* box1121_ = nullptr;
    QPushButton* button1122_ = nullptr;
    QTimer idleTimer_;
};
