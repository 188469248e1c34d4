// The main frame around the pages: status bar, information pop-up, page host, categories,
// language switch, keyboard commands, tool windows and the About box.
#include "AppFixture.h"
#include "app/AppText.h"
#include "app/CAboutDlg.h"
#include "app/CInfoDlg.h"
#include "app/CKW4620v13View.h"
#include "app/CPlaceholderPage.h"
#include "app/CRibbonBar.h"
#include "app/CSynDlg.h"
#include "app/QtLinkUi.h"
#include "app/QtUiPort.h"
#include "link/LinkUi.h"
#include "model/ParamStore.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTest>
#include <QThread>

#include <thread>

class MainFrame : public AppFixture
{
};

TEST_F(MainFrame, TitleFirstPageAndLookAtStart)
{
    EXPECT_EQ(frame_->windowTitle(), QString("DSP-4620-v3.3"));
    ASSERT_NE(View().CurrentPage(), nullptr);
    EXPECT_EQ(View().CurrentPage()->Kind(), PageKind::Music);
    EXPECT_EQ(settings_->ApplicationLook(), 215);
    EXPECT_EQ(View().OutputGroup(), 5);
}

TEST_F(MainFrame, StatusPanes_TextsAndColoursConnectedAndNot)
{
    struct Case
    {
        bool connected;
        int language;
        const char* pane120;
        QColor colour;
        const char* pane121;
    };
    const std::vector<Case> cases = {
        {false, 0, "USB：未连接", QColor(220, 0, 0), "当前模式:模式三[Mode3]"},
        {true, 0, "USB：已连接", QColor(0, 150, 0), "当前模式:模式三[Mode3]"},
        {false, 1, "USB:Disconnected", QColor(220, 0, 0), "Current Mode:Mode3[Mode3]"},
        {true, 1, "USB:Connected", QColor(0, 150, 0), "Current Mode:Mode3[Mode3]"},
    };
    // Before the first update the pane is bright red.
    EXPECT_EQ(frame_->Pane120()->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    session_->mode = 2;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pane120);
        SetLanguage(c.language);
        session_->connected = c.connected;
        frame_->UpdateStatus();
        EXPECT_EQ(frame_->Pane120()->text(), QString(c.pane120));
        EXPECT_EQ(frame_->Pane120()->palette().color(QPalette::WindowText), c.colour);
        EXPECT_EQ(frame_->Pane121()->text(), QString(c.pane121));
        EXPECT_EQ(frame_->Box1121()->text(), PairText("均衡旁路", "Bypass"));
        EXPECT_EQ(frame_->Button1122()->text(), PairText("重置均衡", "Reset EQ"));
    }
}

TEST_F(MainFrame, BypassBoxAndP_FollowTheEqPagesOnly)
{
    frame_->UpdateStatus();
    EXPECT_TRUE(frame_->Box1121()->isEnabled());
    QTest::keyClick(frame_.get(), Qt::Key_P);
    frame_->UpdateStatus();
    EXPECT_TRUE(View().CurrentPage()->Eq()->EqBypass());
    EXPECT_TRUE(frame_->Box1121()->isChecked());
    View().ShowPage(PageKind::Delay);
    frame_->UpdateStatus();
    EXPECT_FALSE(frame_->Box1121()->isEnabled());
    EXPECT_FALSE(frame_->Button1122()->isEnabled());
}

TEST_F(MainFrame, ShowInfoTwice_ReplacesTextAndRestartsTheTime)
{
    CInfoDlg* info = View().InfoDlg();
    View().ShowInfo("first", 300);
    QTest::qWait(200);
    View().ShowInfo("second", 300);
    EXPECT_EQ(info->Text(), QString("second"));
    EXPECT_GT(info->RemainingMs(), 200);
    // The first time would have run out by now.
    QTest::qWait(180);
    EXPECT_TRUE(info->isVisible());
    EXPECT_TRUE(QTest::qWaitFor([info] { return !info->isVisible(); }, 1000));
}

TEST_F(MainFrame, PageHost_NeverShrinksThePageBelowMinimum)
{
    frame_->resize(700, 420);
    QApplication::processEvents();
    QWidget* page = View().Host()->Page();
    EXPECT_GE(page->width(), 1024);
    EXPECT_GE(page->height(), 520);
    frame_->resize(1600, 1000);
    QApplication::processEvents();
    EXPECT_GT(page->width(), 1024);
}

TEST_F(MainFrame, Categories_ShowTheirPagesAndKeepAnOutputPageShown)
{
    Ribbon().SelectCategory(CRibbonBar::Output);
    CPageBase* output = View().CurrentPage();
    ASSERT_EQ(output->Kind(), PageKind::Output);
    EXPECT_EQ(static_cast<CPlaceholderPage*>(output)->Group(), 5);
    View().SetOutputGroup(7);
    Ribbon().SelectCategory(CRibbonBar::Output);
    EXPECT_EQ(View().CurrentPage(), output);
    EXPECT_EQ(static_cast<CPlaceholderPage*>(output)->Group(), 7);
    Ribbon().SelectCategory(CRibbonBar::Input);
    EXPECT_EQ(View().CurrentPage()->Kind(), PageKind::Music);
}

TEST_F(MainFrame, RibbonBoxes_FollowTheStoreInTheIdleUpdate)
{
    // A mute switched elsewhere (a page, a read-back) shows on both copies.
    ParamStore.SetInt(PRM_REVERB_MUTE, 1);
    ParamStore.SetInt(PRM_SPDIF_ON, 100);
    frame_->UpdateStatus();
    EXPECT_TRUE(qobject_cast<QCheckBox*>(Ribbon().FindCommand(32848))->isChecked());
    EXPECT_TRUE(qobject_cast<QCheckBox*>(Ribbon().FindCommand(32862))->isChecked());
    EXPECT_TRUE(qobject_cast<QCheckBox*>(Ribbon().FindCommand(32871))->isChecked());
    EXPECT_TRUE(TakeWrites().empty());
}

TEST_F(MainFrame, DoubleClickOnATab_IsSwallowed)
{
    auto* tab = Ribbon().findChild<QToolButton*>("tabOutput");
    ASSERT_NE(tab, nullptr);
    QTest::mouseDClick(tab, Qt::LeftButton);
    EXPECT_EQ(Ribbon().ActiveCategory(), CRibbonBar::Input);
    QTest::mouseClick(tab, Qt::LeftButton);
    EXPECT_EQ(Ribbon().ActiveCategory(), CRibbonBar::Output);
}

TEST_F(MainFrame, MusicSourceCaption_ShowsDtsFromTheStatusBlock)
{
    const auto caption = [this] { return Ribbon().Copy(1).panels[4]->Caption()->text(); };
    EXPECT_EQ(caption(), QString("音乐音源"));
    session_->status14 = 1;
    View().RefreshMusicSource();
    EXPECT_EQ(caption(), QString("音乐音源:DTS/AC3"));
    SetLanguage(1);
    EXPECT_EQ(caption(), QString("Music Source:DTS/AC3"));
    session_->status14 = 0;
    Ribbon().SelectCategory(CRibbonBar::Output);
    EXPECT_EQ(caption(), QString("Music Source"));
}

TEST_F(MainFrame, LanguageSwitch_RelabelsRibbonStoresChoiceAndReturns)
{
    ParamStore.SetInt(PRM_REVERB_VOL, 7);
    View().RefreshAll();
    const auto label = [this](int id) {
        return qobject_cast<QLabel*>(Ribbon().FindCommand(id))->text();
    };
    auto* tab = Ribbon().findChild<QToolButton*>("tabInput");
    EXPECT_EQ(tab->text(), QString("输入控制"));
    EXPECT_EQ(label(32833), QString("混响音量:    7"));
    EXPECT_EQ(label(32854), QString("输入音量:  0"));
    qobject_cast<QToolButton*>(Ribbon().FindCommand(32805))->click();
    EXPECT_EQ(AppLanguage(), 1);
    EXPECT_EQ(settings_->Language(), 1);
    EXPECT_EQ(tab->text(), QString("Input"));
    EXPECT_EQ(label(32860), QString("Reverb Vol:  7"));
    EXPECT_EQ(label(32832), QString("Mic    Vol:   0"));
    EXPECT_EQ(label(32869), QString("Input vol:  0"));
    EXPECT_EQ(label(32878), QString("Noisegate:     0"));
    EXPECT_EQ(qobject_cast<QToolButton*>(Ribbon().FindCommand(32827))->text(), QString("LoadFile"));
    qobject_cast<QToolButton*>(Ribbon().FindCommand(32805))->click();
    EXPECT_EQ(settings_->Language(), 0);
    EXPECT_EQ(tab->text(), QString("输入控制"));
    EXPECT_EQ(label(32833), QString("混响音量:    7"));
}

TEST_F(MainFrame, ModeKeys_NeedTheLinkAndTellLeftCtrlFromRight)
{
    QTest::keyClick(frame_.get(), Qt::Key_F2);
    EXPECT_TRUE(session_->calls.empty());
    session_->connected = true;
    QTest::keyClick(frame_.get(), Qt::Key_F2);
    QTest::keyClick(frame_.get(), Qt::Key_F3, Qt::ControlModifier);

    // The right Ctrl key only: F2 recalls instead of storing.
    QKeyEvent rightDown(QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier, 105, 0xffe4, 0);
    QApplication::sendEvent(frame_.get(), &rightDown);
    QKeyEvent f2(QEvent::KeyPress, Qt::Key_F2, Qt::ControlModifier);
    QApplication::sendEvent(frame_.get(), &f2);
    QKeyEvent rightUp(QEvent::KeyRelease, Qt::Key_Control, Qt::NoModifier, 105, 0xffe4, 0);
    QApplication::sendEvent(frame_.get(), &rightUp);
    EXPECT_EQ(session_->calls, (std::vector<std::string>{"recall 1", "store 2 key", "recall 1"}));
}

TEST_F(MainFrame, RibbonCommands_ReachTheSession)
{
    const auto click = [this](int id) {
        qobject_cast<QToolButton*>(Ribbon().FindCommand(id))->click();
    };
    click(32827);
    click(32882);
    click(32811);
    QTest::keyClick(frame_.get(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(session_->calls,
              (std::vector<std::string>{"load file", "save file", "restart", "load file"}));
}

TEST_F(MainFrame, ToolWindows_OneOfEachAndRemoteOnlyWhenConnected)
{
    qobject_cast<QToolButton*>(Ribbon().FindCommand(32812))->click();
    EXPECT_EQ(View().ToolWindow(ToolKind::Remote), nullptr);
    qobject_cast<QToolButton*>(Ribbon().FindCommand(32887))->click();
    CToolWindowBase* features = View().ToolWindow(ToolKind::Features);
    ASSERT_NE(features, nullptr);
    EXPECT_EQ(features->windowTitle(), QString("特色功能"));
    qobject_cast<QToolButton*>(Ribbon().FindCommand(32887))->click();
    EXPECT_EQ(View().ToolWindow(ToolKind::Features), features);
    session_->connected = true;
    qobject_cast<QToolButton*>(Ribbon().FindCommand(32812))->click();
    ASSERT_NE(View().ToolWindow(ToolKind::Remote), nullptr);
    SetLanguage(1);
    EXPECT_EQ(View().ToolWindow(ToolKind::Remote)->windowTitle(),
              QString("Learn remoter control "));
    QKeyEvent f7(QEvent::KeyRelease, Qt::Key_F7, Qt::NoModifier);
    QApplication::sendEvent(frame_.get(), &f7);
    ASSERT_NE(View().ToolWindow(ToolKind::MachineSettings), nullptr);
    // Closing a tool window destroys it; the next command builds it again.
    features->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(View().ToolWindow(ToolKind::Features), nullptr);
    qobject_cast<QToolButton*>(Ribbon().FindCommand(32887))->click();
    EXPECT_NE(View().ToolWindow(ToolKind::Features), nullptr);
    View().CloseToolWindows();
    EXPECT_EQ(View().ToolWindow(ToolKind::Features), nullptr);
    EXPECT_EQ(View().ToolWindow(ToolKind::MachineSettings), nullptr);
}

TEST_F(MainFrame, AboutBox_HidesVersionsWhileDisconnectedAndRevealsOnCtrlShiftF11)
{
    {
        CAboutDlg about(*session_, frame_.get());
        about.show();
        EXPECT_FALSE(about.Text1006()->isVisible());
        EXPECT_FALSE(about.Text1007()->isVisible());
        EXPECT_FALSE(about.Text1005()->isVisible());
    }
    session_->connected = true;
    CAboutDlg about(*session_, frame_.get());
    about.show();
    EXPECT_EQ(about.Text1007()->text(), QString("MCU Ver:2013-01-01 CMD Ver:21"));
    EXPECT_EQ(about.Text1006()->text(), QString("DSP Ver:2013-02-02"));
    EXPECT_TRUE(about.Text1007()->isVisible());
    EXPECT_FALSE(about.Text1005()->isVisible());
    EXPECT_FALSE(about.Box1045()->isVisible());
    QTest::keyRelease(&about, Qt::Key_F11, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(about.Text1005()->isVisible());
    EXPECT_EQ(about.Text1005()->text(), QString("Module:KW4620M"));
    ASSERT_TRUE(about.Box1045()->isVisible());
    about.Box1045()->click();
    EXPECT_FALSE(session_->peak);
}

TEST_F(MainFrame, SyncDialog_CyclesAndReportsItsTimeOut)
{
    int timeouts = 0;
    CSynDlg dialog(
        frame_.get(), [&] { ++timeouts; }, 3000, 10);
    dialog.show();
    // The time-out is far beyond one cycle of the bar, so a busy machine still sees it cycle.
    EXPECT_TRUE(QTest::qWaitFor([&] { return dialog.Progress() == 100; }, 2500));
    EXPECT_TRUE(QTest::qWaitFor([&] { return dialog.Progress() < 100; }, 2500));
    EXPECT_EQ(timeouts, 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return timeouts == 1; }, 6000));
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(MainFrame, BalloonWithoutANotificationArea_FallsBackToTheInfoPopUp)
{
    // The offscreen platform has no notification area.
    frame_->Ui().ShowBalloon("信息", "设备已连接，同步中……", 150);
    EXPECT_TRUE(frame_->Ui().BalloonShown());
    EXPECT_EQ(InfoText(), QString("设备已连接，同步中……"));
    EXPECT_TRUE(QTest::qWaitFor([this] { return !frame_->Ui().BalloonShown(); }, 1000));
}

TEST_F(MainFrame, LinkMessagesFromAnotherThread_ArriveOnTheWindowThread)
{
    std::vector<std::pair<int, uintptr_t>> seen;
    bool onWindowThread = true;
    frame_->LinkHooks().SetMessageHandler([&](int message, uintptr_t wParam) {
        onWindowThread = onWindowThread && QThread::currentThread() == qApp->thread();
        seen.emplace_back(message, wParam);
    });
    std::thread reader([] {
        LinkSendViewMessage(MSG_REMOTE_KEY, 0x41);
        LinkPostViewMessage(MSG_SYNC_DONE, 1);
    });
    // The synchronous message needs the window thread to run while the reader waits.
    EXPECT_TRUE(QTest::qWaitFor([&] { return seen.size() == 2; }, 2000));
    reader.join();
    EXPECT_TRUE(onWindowThread);
    EXPECT_EQ(seen,
              (std::vector<std::pair<int, uintptr_t>>{{MSG_REMOTE_KEY, 0x41}, {MSG_SYNC_DONE, 1}}));
}
