// The output group's navigation bar: each button asks the shell for its page, the output
// buttons also for their output, and the shown output's button is drawn selected.
#include "controls/CGdipButton.h"
#include "dsp/EqBands.h"
#include "i18n/DialogIds.h"
#include "i18n/DialogTexts.h"
#include "pages/CCompDlg.h"
#include "pages/CDelayDlg.h"
#include "pages/CDialogOutput.h"
#include "pages/COutputNavBar.h"
#include "pages/CSSVCDlg.h"
#include "pages/PageGlobals.h"
#include "pages/PagesFixture.h"

#include <QTest>

#include <memory>
#include <utility>

namespace {
class OutputNavTest : public PagesFixture
{
};
} // namespace

TEST_F(OutputNavTest, EachButton_AsksTheShellForItsPage)
{
    COutputNavBar bar(&shell_, nullptr);
    bar.resize(bar.sizeHint());
    struct Case
    {
        int button;
        PageKind page;
        int group;
    };
    const Case cases[] = {
        {0, PageKind::Output, EQ_KIND_MAIN},
        {1, PageKind::Output, EQ_KIND_CENTER},
        {2, PageKind::Output, EQ_KIND_SUB},
        {3, PageKind::Output, EQ_KIND_REAR},
        {4, PageKind::Output, EQ_KIND_TOP},
        {5, PageKind::SoundField, -1},
        {6, PageKind::Delay, -1},
        {7, PageKind::Comp, -1},
    };
    g_nOutputKind = EQ_KIND_MAIN;
    for (const Case& c : cases) {
        QTest::mouseClick(bar.Button(c.button), Qt::LeftButton);
        ASSERT_FALSE(shell_.shown.empty());
        EXPECT_EQ(shell_.shown.back(), c.page) << c.button;
        EXPECT_EQ(shell_.groups.back(), c.group) << c.button;
    }
    EXPECT_EQ(shell_.shown.size(), 8u);
    // The other pages leave the current output as it was: Top, the last output pressed.
    EXPECT_EQ(g_nOutputKind.load(), EQ_KIND_TOP);
}

TEST_F(OutputNavTest, ShownPage_IsTheOnlySelectedButtonAndLabelsFollowTheLanguage)
{
    COutputNavBar bar(&shell_, nullptr);
    bar.SetCurrent(PageKind::Output, EQ_KIND_SUB);
    for (int i = 0; i < kOutputNavButtons; ++i) {
        EXPECT_EQ(bar.Button(i)->IsChecked(), i == 2) << i;
    }
    // The other pages of the group show their own button selected.
    const std::pair<PageKind, int> ownButtons[] = {
        {PageKind::SoundField, 5}, {PageKind::Delay, 6}, {PageKind::Comp, 7}};
    for (const auto& [page, own] : ownButtons) {
        bar.SetCurrent(page, -1);
        for (int i = 0; i < kOutputNavButtons; ++i) {
            EXPECT_EQ(bar.Button(i)->IsChecked(), i == own) << i;
        }
    }
    EXPECT_EQ(bar.Button(5)->text(), QString("声场定位"));
    SetLanguage(1);
    bar.Relabel();
    EXPECT_EQ(bar.Button(5)->text(), QString("Location"));
    EXPECT_EQ(bar.Button(7)->text(), QString("Comp"));
}

TEST_F(OutputNavTest, EachPageOfTheGroup_LabelsItsButtonsFromItsOwnTable)
{
    for (const int language : {0, 1}) {
        SetLanguage(language);
        const std::pair<int, std::unique_ptr<QWidget>> pages[] = {
            {IDD_DIALOG_OUTPUT, std::make_unique<CDialogOutput>(&shell_, EQ_KIND_REAR)},
            {IDD_DIALOG_DELAY, std::make_unique<CDelayDlg>(&shell_)},
            {IDD_DIALOG_COMP, std::make_unique<CCompDlg>(&shell_)},
            {IDD_DIALOG_SSVC, std::make_unique<CSSVCDlg>(&shell_)},
        };
        for (const auto& [dialog, page] : pages) {
            const auto* bar = page->findChild<COutputNavBar*>();
            ASSERT_NE(bar, nullptr) << dialog;
            for (int i = 0; i < kOutputNavButtons; ++i) {
                const int id = bar->Button(i)->property("controlId").toInt();
                const OutputNavEntry& e = OutputNavEntries()[static_cast<size_t>(i)];
                // The table holds the button's caption under the id the button carries.
                EXPECT_EQ(id, IDC_NAV_FIRST + i);
                EXPECT_EQ(DialogCaptionText(dialog, id), language == 1 ? e.en : e.zh)
                    << dialog << " button " << i;
                EXPECT_EQ(bar->Button(i)->text().toStdString(), language == 1 ? e.en : e.zh)
                    << dialog << " button " << i;
            }
        }
    }
}
