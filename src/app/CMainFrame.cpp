#include "app/CMainFrame.h"

#include "app/AppIcons.h"
#include "app/AppSettings.h"
#include "app/AppText.h"
#include "app/CKW4620v13View.h"
#include "app/CRibbonBar.h"
#include "app/FileMessageBoxes.h"
#include "app/QtLinkUi.h"
#include "app/QtUiPort.h"
#include "app/ShortcutFilter.h"
#include "i18n/DialogTexts.h"
#include "link/LinkState.h"
#include "link/LinkUi.h"
#include "model/ParamStore.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QStatusBar>

#include <algorithm>

namespace {
const char* const kModeNumbersZh[] = {"模式一", "模式二", "模式三", "模式四"};
const char* const kModeNumbersEn[] = {"Mode1", "Mode2", "Mode3", "Mode4"};
} // namespace

CMainFrame::CMainFrame(AppSettings& settings, SessionFactory sessionFactory, QWidget* parent)
    : QMainWindow(parent), settings_(settings)
{
    setObjectName("CMainFrame");
    // Marks the frame a later start looks for.
    setProperty(kInstanceName, 1);
    settings_.StoreApplicationLook();
    setWindowIcon(AppIcon());
    setAttribute(Qt::WA_InputMethodEnabled, false);

    ui_ = std::make_unique<QtUiPort>(*this, settings_);
    fileBoxes_ = std::make_unique<FileMessageBoxes>(*ui_);
    linkUi_ = std::make_unique<QtLinkUi>(this);
    session_ = sessionFactory ? sessionFactory(*ui_) : nullptr;
    if (!session_) {
        session_ = std::make_unique<DisconnectedSession>(*ui_);
    }
    // The link's messages to the main view: a learned remote key to the remote-control
    // window, the end of a synchronisation to the session.
    linkUi_->SetMessageHandler([this](int message, uintptr_t wParam) {
        if (message == MSG_REMOTE_KEY) {
            if (view_) {
                view_->OnRemoteKey(static_cast<int>(wParam));
            }
            return;
        }
        session_->OnViewMessage(message, wParam);
    });

    CRibbonBar::Providers providers;
    providers.recentFiles = [this] { return settings_.RecentFiles(); };
    providers.modeNames = [this] {
        QStringList names;
        for (int m = 0; m < 4; ++m) {
            names << QString::fromStdString(session_->ModeName(m));
        }
        return names;
    };
    providers.currentMode = [this] { return session_->CurrentMode(); };
    ribbon_ = new CRibbonBar(std::move(providers), this);
    setMenuWidget(ribbon_);
    BuildStatusBar();

    // The view: store defaults, language, first page, texts, then the first connection.
    ResetLinkState();
    ParamStore.ResetToDefaults();
    SetAppLanguage(settings_.Language());
    LoadLanguageTable();
    view_ = new CKW4620v13View(*ribbon_, *session_, *ui_, settings_, this);
    ui_->SetView(view_);
    setCentralWidget(view_);
    view_->ShowPage(PageKind::Music);
    ribbon_->Relabel();
    view_->RefreshAll();
    view_->RefreshMusicSource();

    filter_ = std::make_unique<ShortcutFilter>(*view_);
    qApp->installEventFilter(filter_.get());

    connect(view_, &CKW4620v13View::StatusChanged, this, &CMainFrame::UpdateStatus);
    idleTimer_.setInterval(200);
    connect(&idleTimer_, &QTimer::timeout, this, &CMainFrame::UpdateStatus);
    idleTimer_.start();

    setWindowTitle(kWindowTitle);
    setMinimumSize(640, 400);
    resize(1280, 800);
    session_->Start();
}

CMainFrame::~CMainFrame()
{
    qApp->removeEventFilter(filter_.get());
    ui_->SetView(nullptr);
}

void CMainFrame::BuildStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName("statusBar");
    bar->setSizeGripEnabled(true);
    pane120_ = new QLabel("USB:未连接", bar);
    pane120_->setObjectName("pane120");
    pane120_->setMinimumWidth(pane120_->fontMetrics().horizontalAdvance(QString(52, ' ')));
    SetPaneColour(pane120_, QColor(255, 0, 0));
    auto* separator = new QFrame(bar);
    separator->setObjectName("paneSeparator");
    separator->setFrameShape(QFrame::VLine);
    pane121_ = new QLabel("当前模式：模式一", bar);
    pane121_->setObjectName("pane121");
    pane121_->setMinimumWidth(pane121_->fontMetrics().horizontalAdvance(QString(97, ' ')));
    box1121_ = new QCheckBox(bar);
    box1121_->setObjectName("box1121");
    box1121_->setFocusPolicy(Qt::NoFocus);
    button1122_ = new QPushButton(bar);
    button1122_->setObjectName("button1122");
    button1122_->setFocusPolicy(Qt::NoFocus);
    bar->addWidget(pane120_);
    bar->addWidget(separator);
    bar->addWidget(pane121_);
    bar->addWidget(box1121_);
    bar->addWidget(button1122_);
    connect(box1121_, &QCheckBox::clicked, this, [this] { view_->ToggleEqBypass(); });
    connect(button1122_, &QPushButton::clicked, this, [this] { view_->AskResetEq(); });
}

void CMainFrame::SetPaneColour(QLabel* pane, const QColor& colour)
{
    QPalette palette = pane->palette();
    palette.setColor(QPalette::WindowText, colour);
    pane->setPalette(palette);
    pane->setProperty("textColour", colour);
}

void CMainFrame::UpdateStatus()
{
    const bool connected = session_->IsConnected();
    pane120_->setText(connected ? PairText("USB：已连接", "USB:Connected")
                                : PairText("USB：未连接", "USB:Disconnected"));
    SetPaneColour(pane120_, connected ? QColor(0, 150, 0) : QColor(220, 0, 0));

    const int mode = std::clamp(session_->CurrentMode(), 0, 3);
    const QString name = QString::fromStdString(session_->ModeName(mode));
    pane121_->setText(
        AppLanguage() == 1
            ? QString("Current Mode:%1[%2]").arg(kModeNumbersEn[mode], name)
            : QString("当前模式:%1[%2]").arg(QString::fromUtf8(kModeNumbersZh[mode]), name));

    view_->UpdateRibbonBoxes();

    box1121_->setText(PairText("均衡旁路", "Bypass"));
    button1122_->setText(PairText("重置均衡", "Reset EQ"));
    const bool eqPage = view_->PageHasEqBypass();
    box1121_->setEnabled(eqPage);
    button1122_->setEnabled(eqPage);
    CPageBase* page = view_->CurrentPage();
    const bool bypass = eqPage && page && page->Eq()->EqBypass();
    if (box1121_->isChecked() != bypass) {
        box1121_->setChecked(bypass);
    }
}

void CMainFrame::ActivateFromOtherInstance()
{
    if (isMinimized()) {
        setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    }
    show();
    raise();
    activateWindow();
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (!session_->ConfirmClose()) {
        event->ignore();
        return;
    }
    session_->Shutdown();
    ui_->HideBalloon();
    event->accept();
}
