// The EQ section every EQ page shares: loading, the Sub's slots and crossovers, the band
// list's row pick, copy and paste, and the page-bound wheel.
#include "pages/CEqSection.h"

#include "dsp/Crossover.h"
#include "dsp/EqBands.h"
#include "eq/CEqBandList.h"
#include "eq/CEqPanel.h"
#include "eq/EqNotify.h"
#include "model/DeviceMemory.h"
#include "model/ParamIds.h"
#include "model/ParamStore.h"
#include "pages/PageGlobals.h"
#include "pages/PagesFixture.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

#include <memory>

namespace {
class EqSectionTest : public PagesFixture
{
protected:
    void SetUp() override
    {
        PagesFixture::SetUp();
        page_ = std::make_unique<QWidget>();
        page_->resize(1024, 520);
        eq_ = new CEqSection(page_.get(), 0);
        eq_->SetGeometry(QRect(300, 200, 700, 300), QRect(0, 200, 290, 300));
        eq_->SetMaxStoredType(31);
    }
    void TearDown() override
    {
        page_.reset();
        PagesFixture::TearDown();
    }
    void Show(int kind)
    {
        eq_->SetKind(kind);
        eq_->Refresh();
    }
    // Stage codes of Sub slot k from the band memory.
    static SubSlotStages Stored(int k) { return LoadSubSlotStages(k); }

    std::unique_ptr<QWidget> page_;
    CEqSection* eq_ = nullptr;
};

void StoreSubSlot(int k, const SubSlotStages& codes)
{
    for (int i = 0; i < 4; ++i) {
        StoreEqBand(8, 4 * k + i, 0.0, 80, 0.7, codes[static_cast<size_t>(i)]);
    }
}
} // namespace

TEST_F(EqSectionTest, SubCrossoverOnAHighPassSlot_WritesTheSlotsFourStages)
{
    Show(EQ_KIND_SUB);
    ASSERT_EQ(eq_->Bands()->BandCount(), 5);
    ASSERT_EQ(eq_->Panel()->BandCount(), 20);
    const int k = 3;
    // Pick slot 3 on the curve and make it a high pass with the editor's radio.
    eq_->PickEqBand(k);
    ASSERT_EQ(eq_->EditBand(), k);
    eq_->Bands()->Radio(2)->click();
    EXPECT_EQ(Stored(k), (SubSlotStages{19, 21, 1, 1}));
    ASSERT_TRUE(eq_->Crossover()->isVisibleTo(page_.get()));
    TakeWrites();

    eq_->ChooseCrossover(2); // "LinkwitzRiely 36dB"
    EXPECT_EQ(Stored(k), (SubSlotStages{15, 11, 15, 11}));
    const auto writes = TakeWrites();
    std::vector<int> stages;
    for (const ParamWrite& w : writes) {
        if (w.block == 8) {
            stages.push_back(w.param);
        }
    }
    EXPECT_EQ(stages, (std::vector<int>{4 * k, 4 * k + 1, 4 * k + 2, 4 * k + 3}));
    // The other slots keep what they had.
    EXPECT_EQ(Stored(4), (SubSlotStages{18, 20, 1, 1}));
    EXPECT_EQ(eq_->Bands()->CellText(k, EQ_COL_TYPE), QString("高通"));
}

TEST_F(EqSectionTest, SubSlotKinds_AreRecognisedFromTheirStages)
{
    StoreSubSlot(1, {12, 12, 1, 1});
    StoreSubSlot(2, {12, 1, 1, 1});
    StoreSubSlot(0, {4, 1, 1, 1});
    Show(EQ_KIND_SUB);
    struct Case
    {
        int row;
        bool shown;
        QString text;
    };
    for (const Case& c : {Case{1, true, "LinkwitzRiely 24dB"}, Case{2, true, "Butterworth 12dB"},
                          Case{0, false, ""}}) {
        eq_->OnRowClicked(c.row);
        EXPECT_EQ(eq_->Crossover()->isVisibleTo(page_.get()), c.shown) << c.row;
        EXPECT_EQ(eq_->CrossoverLabel()->isVisibleTo(page_.get()), c.shown) << c.row;
        if (c.shown) {
            EXPECT_EQ(eq_->Crossover()->currentText(), c.text);
        }
    }
    EXPECT_EQ(eq_->Bands()->CellText(1, EQ_COL_TYPE), QString("低通"));
    EXPECT_EQ(eq_->Bands()->CellText(0, EQ_COL_TYPE), QString("低架"));
}

TEST_F(EqSectionTest, ClickingABandListRow_PicksThatBandOnTheCurve)
{
    Show(EQ_KIND_MAIN);
    EXPECT_EQ(eq_->Panel()->Selected(), -1);
    QTableWidget* list = eq_->Bands()->List();
    page_->show();
    const QRect cell = list->visualItemRect(list->item(6, EQ_COL_NUMBER));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(eq_->Panel()->Selected(), 6);
    // Nothing is written by a pick.
    EXPECT_TRUE(TakeWrites().empty());
}

TEST_F(EqSectionTest, LoadingAnOutput_ClampsTheStoredBands)
{
    StoreEqBand(5, 0, 6.0, 1000, 0.0, 1); // peaking without Q
    StoreEqBand(5, 1, 9.0, 200, 5.0, 2);  // low pass, Q too large, a gain it cannot have
    StoreEqBand(5, 2, 3.0, 0, 2.0, 40);   // no type of ours, no frequency
    Show(EQ_KIND_MAIN);
    const EqPanelBand& peq = eq_->Panel()->Band(0);
    EXPECT_NEAR(peq.q, 1.41f, 1e-6);
    EXPECT_FLOAT_EQ(peq.gain, 6.0f);
    const EqPanelBand& lp = eq_->Panel()->Band(1);
    EXPECT_FLOAT_EQ(lp.q, 2.0f);
    EXPECT_FLOAT_EQ(lp.gain, 0.0f);
    EXPECT_EQ(lp.type, 2);
    EXPECT_EQ(eq_->Panel()->Band(2).type, 0);
    EXPECT_GE(eq_->Panel()->Band(2).freq, 20.0f);
    EXPECT_EQ(eq_->Bands()->CellText(1, EQ_COL_Q), QString("2.00"));
    EXPECT_EQ(eq_->Bands()->CellText(1, EQ_COL_GAIN), QString("+0.0dB"));
}

TEST_F(EqSectionTest, PasteOfASevenBandEq_LeavesTheLastThreeBands)
{
    for (int i = 0; i < 7; ++i) {
        SetEqBand(EQ_KIND_ECHO_A, i, 1, -6.0 + i, 200 + 100 * i, 3.0);
    }
    Show(EQ_KIND_ECHO_A);
    eq_->Panel()->OnMenuCommand(EQ_MENU_COPY);
    EXPECT_EQ(g_nEqCopySlot.load(), EQ_KIND_ECHO_A);
    std::array<EqBand, 3> tail{};
    for (int i = 7; i < 10; ++i) {
        SetEqBand(EQ_KIND_MAIN, i, 1, 4.0, 5000 + i, 2.5);
        tail[static_cast<size_t>(i - 7)] = LoadKindBand(EQ_KIND_MAIN, i);
    }
    Show(EQ_KIND_MAIN);
    TakeWrites();
    eq_->Panel()->OnMenuCommand(EQ_MENU_PASTE);
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(LoadKindBand(EQ_KIND_MAIN, i), LoadKindBand(EQ_KIND_ECHO_A, i)) << i;
        EXPECT_FLOAT_EQ(eq_->Panel()->Band(i).gain, static_cast<float>(-6.0 + i));
    }
    for (int i = 7; i < 10; ++i) {
        EXPECT_EQ(LoadKindBand(EQ_KIND_MAIN, i), tail[static_cast<size_t>(i - 7)]) << i;
    }
    int biquads = 0;
    for (const ParamWrite& w : TakeWrites()) {
        biquads += w.block == 5 ? 1 : 0;
    }
    // The shown EQ is sent whole: its seven new bands and the three it kept.
    EXPECT_EQ(biquads, 10);
    // Nothing goes to or comes from the Sub.
    Show(EQ_KIND_SUB);
    const EqBand sub0 = LoadKindBand(EQ_KIND_SUB, 0);
    eq_->Panel()->OnMenuCommand(EQ_MENU_PASTE);
    EXPECT_EQ(LoadKindBand(EQ_KIND_SUB, 0), sub0);
}

TEST_F(EqSectionTest, BypassAndReset_ActOnTheShownEq)
{
    Show(EQ_KIND_TOP);
    eq_->SetEqBypass(true);
    EXPECT_EQ(ParamStore.GetInt(PRM_TOP_EQ_BYPASS), 1);
    const ParamWrite* w = Find(TakeWrites(), 9, 18);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->firstWord, 1u);
    EXPECT_TRUE(eq_->Panel()->Bypass());
    SetEqBand(EQ_KIND_TOP, 4, 1, 9.0, 700, 3.0);
    eq_->PickEqBand(4);
    eq_->ResetEq();
    EXPECT_EQ(eq_->EditBand(), -1);
    EXPECT_DOUBLE_EQ(LoadKindBand(EQ_KIND_TOP, 4).gain, 0.0);
    EXPECT_FLOAT_EQ(eq_->Panel()->Band(4).gain, 0.0f);
}

TEST_F(EqSectionTest, WheelOverThePage_GoesToTheFocusedPanelButNotFromOutside)
{
    Show(EQ_KIND_MAIN);
    page_->show();
    QWidget other;
    other.resize(100, 100);
    other.show();
    eq_->PickEqBand(0);
    eq_->Panel()->setFocus();
    QApplication::setActiveWindow(page_.get());
    if (QApplication::focusWidget() != eq_->Panel()) {
        GTEST_SKIP() << "no focus on this platform";
    }
    const float before = eq_->Panel()->Band(0).gain;
    auto wheel = [](QWidget* target) {
        QWheelEvent e(QPointF(5, 5), target->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &e);
    };
    wheel(&other);
    EXPECT_FLOAT_EQ(eq_->Panel()->Band(0).gain, before);
    // Over the band list (not the panel) the wheel still edits the focused panel's band.
    wheel(eq_->Bands()->List()->viewport());
    EXPECT_NE(eq_->Panel()->Band(0).gain, before);
}

// "Import filters…" from the panel's menu: the file's filters land in the EQ and the list and
// curve show them at once; the user is told what was imported.
TEST_F(EqSectionTest, ImportedFilterFile_IsShownAtOnce)
{
    Show(EQ_KIND_REAR);
    QTemporaryDir dir;
    QFile file(dir.filePath("room.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Filter 1: ON PK Fc 63 Hz Gain -5.5 dB Q 3\nFilter 2: ON HS Fc 9 kHz Gain 2 dB\n");
    file.close();
    QString told;
    float gainWhenTold = 0.0f;
    FilterFileUi ui;
    ui.askOpen = [&](QWidget*, const QString&, const QString&) { return file.fileName(); };
    ui.askSave = ui.askOpen;
    ui.tell = [&](QWidget*, const QString&, const QString& text, bool) {
        told = text;
        gainWhenTold = eq_->Panel()->Band(0).gain;
    };
    eq_->SetFilterFileUi(ui);
    emit eq_->Panel()->FilterFile(0, EQ_KIND_REAR);
    EXPECT_FALSE(told.isEmpty());
    // The summary is read over the new curve.
    EXPECT_FLOAT_EQ(gainWhenTold, -5.5f);
    EXPECT_FLOAT_EQ(eq_->Panel()->Band(0).gain, -5.5f);
    EXPECT_FLOAT_EQ(eq_->Panel()->Band(1).freq, 9000.0f);
    EXPECT_EQ(eq_->Panel()->Band(1).type, 5);
    QTableWidget* list = eq_->Bands()->List();
    EXPECT_TRUE(list->item(0, EQ_COL_GAIN)->text().startsWith("-5.5"))
        << list->item(0, EQ_COL_GAIN)->text().toStdString();
    // The ten biquads of the rear EQ (block 6), once each.
    const std::vector<ParamWrite> writes = TakeWrites();
    ASSERT_EQ(writes.size(), 10u);
    for (int band = 0; band < 10; ++band) {
        EXPECT_EQ(writes[static_cast<size_t>(band)].block, 6);
        EXPECT_EQ(writes[static_cast<size_t>(band)].param, band);
    }
}
