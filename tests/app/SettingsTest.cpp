// The per-user settings survive a restart and are repaired on start.
#include "app/AppSettings.h"
#include "app/AppStyle.h"
#include "app/CMainFrame.h"

#include <QFont>
#include <QFontMetrics>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(AppSettings, LanguageAndRecentFiles_SurviveARestart)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("settings.ini");
    {
        AppSettings settings(file);
        EXPECT_EQ(settings.Language(), 0);
        settings.SetLanguage(1);
        for (int i = 0; i < 12; ++i) {
            settings.AddRecentFile(dir.filePath(QString("m%1.W6v9").arg(i)));
        }
        // Opening a listed file again moves it to the front instead of listing it twice.
        settings.AddRecentFile(dir.filePath("m5.W6v9"));
    }
    AppSettings again(file);
    EXPECT_EQ(again.Language(), 1);
    const QStringList files = again.RecentFiles();
    ASSERT_EQ(files.size(), 10);
    EXPECT_TRUE(files[0].endsWith("m5.W6v9"));
    EXPECT_TRUE(files[1].endsWith("m11.W6v9"));
    EXPECT_TRUE(files[9].endsWith("m2.W6v9"));
    EXPECT_EQ(files.filter("m5.W6v9").size(), 1);
}

TEST(AppSettings, BadOrMissingEntries_GiveTheirDefaults)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("settings.ini");
    {
        QSettings raw(file, QSettings::IniFormat);
        raw.setValue("language", "klingon");
        raw.setValue("ApplicationLook", 300);
    }
    AppSettings settings(file);
    EXPECT_EQ(settings.Language(), 0);
    EXPECT_TRUE(settings.RecentFiles().isEmpty());
    EXPECT_EQ(settings.ApplicationLook(), 300);
    {
        // The frame always stores its one look.
        CMainFrame frame(settings);
    }
    EXPECT_EQ(AppSettings(file).ApplicationLook(), 215);
}

TEST(AppSettings, LanguageOneAtStart_BringsTheRibbonUpInEnglish)
{
    QTemporaryDir dir;
    AppSettings settings(dir.filePath("settings.ini"));
    settings.SetLanguage(1);
    CMainFrame frame(settings);
    auto* tab = frame.findChild<QWidget*>("tabOutput");
    ASSERT_NE(tab, nullptr);
    EXPECT_EQ(tab->property("text").toString(), QString("Output"));
    frame.UpdateStatus();
    EXPECT_EQ(frame.Pane120()->text(), QString("USB:Disconnected"));
}

TEST(AppFonts, DialogFontsFallBackToInstalledChineseFonts)
{
    SetupFonts();
    for (const char* family : {"宋体", "黑体", "Arial"}) {
        SCOPED_TRACE(family);
        const QFontMetrics metrics{QFont(QString::fromUtf8(family))};
        // 话 (mic) and 音 (sound) must have glyphs.
        EXPECT_TRUE(metrics.inFontUcs4(0x8BDD));
        EXPECT_TRUE(metrics.inFontUcs4(0x97F3));
    }
}
