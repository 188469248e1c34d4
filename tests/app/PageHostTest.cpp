// Pages plug into the registry; the view routes the status bar, P and Ctrl + digit to them.
#include "AppFixture.h"
#include "app/CInfoDlg.h"
#include "app/CKW4620v13App.h"
#include "app/CKW4620v13View.h"
#include "app/CRibbonBar.h"
#include "app/QtUiPort.h"

#include <QMenu>
#include <QTest>
#include <QToolButton>

namespace {
struct PageLog
{
    std::vector<std::string> calls;
    bool bypass = false;
};

class FakeMusicPage : public CPageBase, public PageEq
{
public:
    FakeMusicPage(PageLog& log, QWidget* parent) : CPageBase(parent), log_(log) {}
    PageKind Kind() const override { return PageKind::Music; }
    void Refresh() override { log_.calls.push_back("refresh"); }
    void Relabel() override { log_.calls.push_back("relabel"); }
    PageEq* Eq() override { return this; }
    bool EqBypass() const override { return log_.bypass; }
    void SetEqBypass(bool on) override { log_.bypass = on; }
    void ResetEq() override { log_.calls.push_back("reset"); }
    void PickEqBand(int band) override { log_.calls.push_back("band " + std::to_string(band)); }

private:
    PageLog& log_;
};

PageLog g_log;

class PluggedPage : public AppFixture
{
protected:
    void SetUp() override
    {
        g_log = PageLog{};
        PageRegistry::Instance().RegisterPage(PageKind::Music, [](PageShell&, QWidget* parent) {
            return new FakeMusicPage(g_log, parent);
        });
        AppFixture::SetUp();
        g_log.calls.clear();
    }
    void TearDown() override
    {
        AppFixture::TearDown();
        PageRegistry::Instance().RegisterPage(PageKind::Music, {});
    }
};
} // namespace

TEST_F(PluggedPage, RegisteredPage_IsShownAndGetsTheKeysAndStatusBarCommands)
{
    ASSERT_NE(dynamic_cast<FakeMusicPage*>(View().CurrentPage()), nullptr);
    QTest::keyClick(frame_.get(), Qt::Key_3, Qt::ControlModifier);
    QTest::keyClick(frame_.get(), Qt::Key_0, Qt::ControlModifier);
    // Without Ctrl a digit picks nothing.
    QTest::keyClick(frame_.get(), Qt::Key_5);
    QTest::keyClick(frame_.get(), Qt::Key_P);
    EXPECT_TRUE(g_log.bypass);
    frame_->UpdateStatus();
    EXPECT_TRUE(frame_->Box1121()->isChecked());
    frame_->Box1121()->click();
    EXPECT_FALSE(g_log.bypass);

    std::vector<QString> asked;
    frame_->Ui().SetBoxHook([&](const QString& text, const QString& caption) {
        asked.push_back(caption + "|" + text);
        return asked.size() == 1 ? UiAnswer::No : UiAnswer::Yes;
    });
    frame_->Button1122()->click();
    frame_->Button1122()->click();
    EXPECT_EQ(asked,
              (std::vector<QString>{"提示|您确定重置当前均衡吗?", "提示|您确定重置当前均衡吗?"}));
    EXPECT_EQ(g_log.calls, (std::vector<std::string>{"band 2", "band 9", "reset"}));
}

TEST_F(PluggedPage, LanguageSwitchAndRefreshAll_ReachThePage)
{
    View().SwitchLanguage();
    View().RefreshAll();
    // Showing the page that is already shown only refreshes it.
    CPageBase* page = View().CurrentPage();
    View().ShowPage(PageKind::Music);
    EXPECT_EQ(View().CurrentPage(), page);
    EXPECT_EQ(g_log.calls, (std::vector<std::string>{"relabel", "refresh", "refresh"}));
}

TEST_F(PluggedPage, RecentFileMenu_OpensTheChosenDocument)
{
    settings_->AddRecentFile(dir_.filePath("party.W6v9"));
    auto* button = Ribbon().findChild<QToolButton*>("appButton");
    ASSERT_NE(button, nullptr);
    QMenu* menu = button->menu();
    emit menu->aboutToShow();
    QAction* recent = nullptr;
    for (QAction* a : menu->actions()) {
        if (a->text().endsWith("party.W6v9")) {
            recent = a;
        }
    }
    ASSERT_NE(recent, nullptr);
    recent->trigger();
    ASSERT_EQ(session_->calls.size(), 1u);
    EXPECT_EQ(session_->calls[0], "open " + dir_.filePath("party.W6v9").toStdString());
}

TEST(NoProcessorSession, FileCommandsAskToConnectAndAMissingFileIsReported)
{
    QTemporaryDir dir;
    AppSettings settings(dir.filePath("settings.ini"));
    CMainFrame frame(settings);
    std::vector<QString> boxes;
    frame.Ui().SetBoxHook([&](const QString& text, const QString& caption) {
        boxes.push_back(caption + "|" + text);
        return UiAnswer::Ok;
    });
    frame.Session().OpenDocument(dir.filePath("missing.W6v9").toStdString());
    EXPECT_EQ(boxes, (std::vector<QString>{"文件打开错误|文件不存在！"}));
    qobject_cast<QToolButton*>(frame.Ribbon()->FindCommand(32881))->click();
    EXPECT_EQ(frame.View()->InfoDlg()->Text(), QString("请先连接设备!"));
    EXPECT_FALSE(frame.Session().IsConnected());
}

TEST(CommandLine, OptionsAreReadOrRefused)
{
    const AppOptions shot = AppOptions::Parse(
        {"dsp4620", "--emulate", "--lang", "1", "--page", "comp", "--screenshot", "/tmp/x.png"});
    EXPECT_TRUE(shot.error.isEmpty());
    EXPECT_TRUE(shot.emulate);
    EXPECT_EQ(shot.language, 1);
    EXPECT_EQ(shot.page, PageKind::Comp);
    EXPECT_EQ(shot.screenshot, QString("/tmp/x.png"));

    const AppOptions state = AppOptions::Parse({"dsp4620", "--emulate=/tmp/s.state", "a.W6v9"});
    EXPECT_EQ(state.emulateState, QString("/tmp/s.state"));
    EXPECT_EQ(state.files, QStringList{"a.W6v9"});

    for (const QStringList& bad :
         {QStringList{"dsp4620", "--lang", "2"}, QStringList{"dsp4620", "--page", "nowhere"},
          QStringList{"dsp4620", "--screenshot"}, QStringList{"dsp4620", "--bogus"}}) {
        SCOPED_TRACE(bad.join(' ').toStdString());
        EXPECT_FALSE(AppOptions::Parse(bad).error.isEmpty());
    }
}
