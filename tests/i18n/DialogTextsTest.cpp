// The current table: applying it to a window's texts and switching the language.
#include "i18n/DialogTexts.h"

#include "i18n/DialogIds.h"
#include "i18n/Language.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
class DialogTextsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetLanguage(kLanguageChinese);
        ASSERT_TRUE(LoadLanguageTable());
    }
    void TearDown() override
    {
        SetLanguage(kLanguageChinese);
        LoadLanguageTable();
    }
};

struct WindowTexts
{
    std::string title;
    std::vector<DialogCaption> captions;
    bool operator==(const WindowTexts& o) const
    {
        if (title != o.title || captions.size() != o.captions.size()) {
            return false;
        }
        for (size_t i = 0; i < captions.size(); ++i) {
            if (captions[i].controlId != o.captions[i].controlId ||
                captions[i].text != o.captions[i].text) {
                return false;
            }
        }
        return true;
    }
};

// The noise gate dialog as its resource creates it (resource captions are Chinese), with
// one control the tables know nothing about.
WindowTexts NoiseGateDialog()
{
    return {"resource title",
            {{1178, "话筒噪声门"},
             {1123, "启动时间"},
             {1041, "slider"},
             {1, "确定"},
             {2, "取消"},
             {9999, "no key"}}};
}

void Apply(int dialogId, WindowTexts& w)
{
    ApplyLanguage(dialogId, w.title, w.captions);
}
} // namespace

TEST_F(DialogTextsTest, EnglishRemoteTitleKeepsItsTrailingSpace)
{
    SetLanguage(kLanguageEnglish);
    ASSERT_TRUE(LoadLanguageTable());
    EXPECT_EQ(DialogTitleText(IDD_REMOTE), "Learn remoter control ");
    EXPECT_EQ(DialogCaptionText(IDD_DIALOG_NG, 1178), "Mic ");
    EXPECT_EQ(DialogCaptionText(IDD_DIALOG_NG, 1179), "Music ");
}

TEST_F(DialogTextsTest, MissingKeyKeepsTheCallersText)
{
    SetLanguage(kLanguageEnglish);
    ASSERT_TRUE(LoadLanguageTable());
    WindowTexts w = NoiseGateDialog();
    Apply(IDD_DIALOG_NG, w);
    EXPECT_EQ(w.title, "Noise gate setting");
    EXPECT_EQ(w.captions[0].text, "Mic ");
    EXPECT_EQ(w.captions[2].text, "slider");
    EXPECT_EQ(w.captions[5].text, "no key");

    // Pages have no title key: the window keeps its title.
    WindowTexts page{"page", {{1185, "话筒口1"}}};
    Apply(IDD_DIALOG_MUSIC, page);
    EXPECT_EQ(page.title, "page");
    EXPECT_EQ(page.captions[0].text, "Mic 1");
    EXPECT_EQ(DialogCaptionText(IDD_DIALOG_MUSIC, 4242), "");
}

TEST_F(DialogTextsTest, SwitchingTheLanguageTwiceRestoresEveryText)
{
    WindowTexts first = NoiseGateDialog();
    Apply(IDD_DIALOG_NG, first);
    EXPECT_EQ(first.title, "噪声门设置");

    ASSERT_TRUE(SwitchLanguage());
    EXPECT_EQ(g_nLanguage.load(), kLanguageEnglish);
    WindowTexts english = first;
    Apply(IDD_DIALOG_NG, english);
    EXPECT_EQ(english.title, "Noise gate setting");
    EXPECT_EQ(english.captions[1].text, "Attack time");
    EXPECT_EQ(english.captions[3].text, "OK");

    ASSERT_TRUE(SwitchLanguage());
    EXPECT_EQ(g_nLanguage.load(), kLanguageChinese);
    WindowTexts back = english;
    Apply(IDD_DIALOG_NG, back);
    EXPECT_EQ(back, first);
}

TEST_F(DialogTextsTest, TheTableChangesOnlyWhenItIsLoaded)
{
    SetLanguage(kLanguageEnglish); // no LoadLanguageTable yet
    EXPECT_EQ(DialogTitleText(IDD_DIALOG_SET), "机器设置");
    ASSERT_TRUE(LoadLanguageTable());
    EXPECT_EQ(DialogTitleText(IDD_DIALOG_SET), "Machine Set");
}

TEST(TextPair, PicksByLanguageAndCountsUnknownValuesAsChinese)
{
    const TextPair pair{"连接", "Connect"};
    SetLanguage(kLanguageEnglish);
    EXPECT_STREQ(pair.Text(), "Connect");
    SetLanguage(7);
    EXPECT_EQ(g_nLanguage.load(), kLanguageChinese);
    EXPECT_STREQ(pair.Text(), "连接");
    g_nLanguage.store(-3); // set directly, bypassing SetLanguage
    EXPECT_STREQ(pair.Text(), "连接");
    EXPECT_STREQ(pair[kLanguageEnglish], "Connect");
    SetLanguage(kLanguageChinese);
}
