#include "eq/CEqBandList.h"

#include "controls/CXBmpSlider.h"
#include "eq/CEqPanel.h"
#include "eq/EqBandText.h"
#include "eq/QtPrinters.h"
#include "i18n/Language.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

TEST(ParseLeadingNumber, ReadsTheLeadingDecimal)
{
    struct Case
    {
        const char* text;
        double value;
    } cases[] = {
        {"+3.0dB", 3.0}, {"1000Hz", 1000.0}, {"-2.5", -2.5}, {"  12", 12.0},
        {".5", 0.5},     {"1e3Hz", 1000.0},  {"abc", 0.0},   {"", 0.0},
        {"+", 0.0},      {"-dB", 0.0},       {"inf", 0.0},   {"nan", 0.0},
        {"1e999", 0.0},  {"3,5", 3.0},       {"0x10", 0.0},  {"25000", 25000.0},
    };
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(ParseLeadingNumber(c.text), c.value) << c.text;
    }
}

namespace {
struct Written
{
    int band;
    EqBand record;
};

class BandListTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetLanguage(kLanguageEnglish);
        page.resize(1400, 520);
        panel = new CEqPanel(&page);
        panel->setGeometry(300, 0, 1000, 480);
        panel->SetPanelKind(5);
        panel->SetBandCount(10);
        bands = new CEqBandList(&page);
        bands->setGeometry(0, 0, 290, 400);
        bands->SetBandCount(10);
        bands->SetBandWriter([this](int band, const EqBand& r) { written.push_back({band, r}); });
        bands->AttachPanel(panel);
        page.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
    }
    void TearDown() override { SetLanguage(kLanguageChinese); }

    void SetBand(int i, int type, float freq, float gain, float q)
    {
        panel->Band(i).type = type;
        panel->Band(i).freq = freq;
        panel->Band(i).gain = gain;
        panel->Band(i).q = q;
        panel->UpdateBandCurve(i);
    }

    QPoint Marker(int i) const
    {
        const EqPlotRect r = panel->PlotRect();
        return QPoint(
            static_cast<int>(std::lround(r.left + static_cast<double>(panel->Band(i).posX))),
            static_cast<int>(std::lround(r.top + static_cast<double>(panel->Band(i).posY))));
    }

    void Drag(const QPoint& to)
    {
        QMouseEvent e(QEvent::MouseMove, QPointF(to), QPointF(panel->mapToGlobal(to)), Qt::NoButton,
                      Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(panel, &e);
    }

    QWidget page;
    CEqPanel* panel = nullptr;
    CEqBandList* bands = nullptr;
    std::vector<Written> written;
};
} // namespace

TEST_F(BandListTest, ListStartsWithOneRowPerBandInListMode)
{
    EXPECT_EQ(bands->List()->rowCount(), 10);
    EXPECT_EQ(bands->List()->columnCount(), 5);
    EXPECT_EQ(bands->List()->horizontalHeaderItem(1)->text(), "Type");
    EXPECT_EQ(bands->CellText(0, EQ_COL_NUMBER), "1");
    EXPECT_EQ(bands->CellText(9, EQ_COL_NUMBER), "10");
    EXPECT_EQ(bands->CellText(9, EQ_COL_FREQ), "12000Hz"); // from the panel's 10-band layout
    EXPECT_EQ(bands->CellText(9, EQ_COL_TYPE), "PEQ");
    EXPECT_EQ(bands->EditBand(), -1);
    EXPECT_TRUE(bands->List()->isVisible());
    EXPECT_FALSE(bands->Editor()->isVisible());
}

TEST_F(BandListTest, CellEditsParseClampAndReformat)
{
    struct Case
    {
        int type;
        int column;
        const char* text;
        const char* gain;
        const char* freq;
        const char* q;
    } cases[] = {
        {1, EQ_COL_FREQ, "25000", "+2.0dB", "20000Hz", "1.41"},
        {1, EQ_COL_FREQ, "kHz", "+2.0dB", "1000Hz", "1.41"}, // letters leave the frequency
        {1, EQ_COL_FREQ, "0", "+2.0dB", "1000Hz", "1.41"},
        {1, EQ_COL_FREQ, "5Hz", "+2.0dB", "20Hz", "1.41"},
        {4, EQ_COL_Q, "3", "+2.0dB", "1000Hz", "2.00"}, // shelf Q stops at 2
        {1, EQ_COL_Q, "3", "+2.0dB", "1000Hz", "3.00"},
        {1, EQ_COL_Q, "abc", "+2.0dB", "1000Hz", "1.41"}, // Q 0 is ignored
        {1, EQ_COL_GAIN, "+30dB", "+15.0dB", "1000Hz", "1.41"},
        {1, EQ_COL_GAIN, "junk", "+0.0dB", "1000Hz", "1.41"}, // unparsable gain reads 0
        {2, EQ_COL_GAIN, "-6", "+0.0dB", "1000Hz", "1.41"},   // LP carries no gain
    };
    for (const Case& c : cases) {
        SetBand(3, c.type, 1000, c.type == 2 ? 0.0f : 2.0f, 1.41f);
        bands->ShowBand(3, false); // the row shows the band
        written.clear();
        bands->ApplyListEdit(3, c.column, QString::fromUtf8(c.text));
        EXPECT_EQ(bands->CellText(3, EQ_COL_FREQ), c.freq) << c.text;
        EXPECT_EQ(bands->CellText(3, EQ_COL_Q), c.q) << c.text;
        if (c.type != 2) {
            EXPECT_EQ(bands->CellText(3, EQ_COL_GAIN), c.gain) << c.text;
        } else {
            EXPECT_EQ(bands->CellText(3, EQ_COL_GAIN), "+0.0dB");
        }
        ASSERT_EQ(written.size(), 1u) << c.text;
        EXPECT_EQ(written[0].band, 3);
        EXPECT_EQ(written[0].record.freq, static_cast<int>(panel->Band(3).freq));
        EXPECT_EQ(written[0].record.type, c.type);
    }
}

TEST_F(BandListTest, InPlaceEditorsCommitThroughTheDelegate)
{
    QTableWidget* list = bands->List();
    list->setCurrentCell(2, EQ_COL_FREQ);
    list->editItem(list->item(2, EQ_COL_FREQ));
    auto* edit = list->findChild<QLineEdit*>();
    ASSERT_NE(edit, nullptr);
    edit->setText("25000");
    QTest::keyClick(edit, Qt::Key_Return);
    QApplication::processEvents(); // the delegate commits through a queued call
    EXPECT_EQ(panel->Band(2).freq, 20000.0f);
    EXPECT_EQ(bands->CellText(2, EQ_COL_FREQ), "20000Hz");

    list->setCurrentCell(2, EQ_COL_TYPE);
    list->editItem(list->item(2, EQ_COL_TYPE));
    auto* combo = list->findChild<QComboBox*>();
    ASSERT_NE(combo, nullptr);
    QStringList items;
    for (int i = 0; i < combo->count(); ++i) {
        items << combo->itemText(i);
    }
    EXPECT_EQ(items, QStringList({"PEQ", "LP", "HP", "LS", "HS"}));
    combo->setCurrentIndex(1);
    QTest::keyClick(combo, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(panel->Band(2).type, 2);
    EXPECT_EQ(bands->CellText(2, EQ_COL_TYPE), "LP");
}

TEST_F(BandListTest, ChoosingLowPassZeroesGainAndLimitsTheQSlider)
{
    SetBand(1, 1, 500, 6, 3.0f);
    bands->ShowBand(1, false);
    written.clear();
    bands->ApplyListEdit(1, EQ_COL_TYPE, "LP");
    EXPECT_EQ(panel->Band(1).type, 2);
    EXPECT_EQ(bands->CellText(1, EQ_COL_GAIN), "+0.0dB");
    EXPECT_EQ(bands->CellText(1, EQ_COL_Q), "0.70");
    EXPECT_FALSE(bands->GainSlider()->IsSliderEnabled());
    EXPECT_FALSE(bands->GainEdit()->isEnabled());
    EXPECT_EQ(bands->QSlider()->GetRangeMin(), 10);
    EXPECT_EQ(bands->QSlider()->GetRangeMax(), 200);
    EXPECT_TRUE(bands->Radio(1)->isChecked());
    ASSERT_EQ(written.size(), 1u);
    EXPECT_EQ(written[0].record.type, 2);

    bands->ApplyListEdit(1, EQ_COL_TYPE, "PEQ");
    EXPECT_EQ(bands->CellText(1, EQ_COL_Q), "1.41");
    EXPECT_EQ(bands->QSlider()->GetRangeMax(), 3000);
    EXPECT_TRUE(bands->GainEdit()->isEnabled());
    bands->ApplyListEdit(1, EQ_COL_TYPE, "peq"); // names compare exactly
    EXPECT_EQ(written.size(), 2u);
}

TEST_F(BandListTest, PanelNotificationsSwitchBetweenListAndEditor)
{
    SetBand(4, 1, 700, 3, 1.41f);
    panel->setFocus();
    // A digit picks without writing.
    QTest::keyClick(panel, Qt::Key_5);
    EXPECT_EQ(bands->EditBand(), 4);
    EXPECT_TRUE(bands->Editor()->isVisible());
    EXPECT_FALSE(bands->List()->isVisible());
    EXPECT_EQ(bands->NumberLabel()->text(), "5");
    EXPECT_EQ(bands->GainEdit()->text(), "+3.0dB");
    EXPECT_EQ(bands->FreqEdit()->text(), "700Hz");
    EXPECT_EQ(bands->QEdit()->text(), "1.41");
    EXPECT_EQ(bands->GainSlider()->GetPos(), 30);
    EXPECT_EQ(bands->FreqSlider()->GetPos(), 700);
    EXPECT_EQ(bands->QSlider()->GetPos(), 141);
    EXPECT_TRUE(written.empty());

    // Dragging writes on every move.
    const QPoint at = Marker(4);
    QTest::mousePress(panel, Qt::LeftButton, {}, at);
    EXPECT_EQ(written.size(), 1u);
    Drag(at + QPoint(0, -20));
    Drag(at + QPoint(0, -40));
    EXPECT_EQ(written.size(), 3u);
    QTest::mouseRelease(panel, Qt::LeftButton, {}, at + QPoint(0, -40));
    EXPECT_EQ(written.back().record.gain, static_cast<double>(panel->Band(4).gain));
    EXPECT_EQ(bands->GainEdit()->text(),
              QString::fromStdString(FormatGainDb(static_cast<double>(panel->Band(4).gain))));

    // A press on empty plot area returns to the list.
    QTest::mousePress(panel, Qt::LeftButton, {}, QPoint(900, 450));
    QTest::mouseRelease(panel, Qt::LeftButton, {}, QPoint(900, 450));
    EXPECT_EQ(bands->EditBand(), -1);
    EXPECT_TRUE(bands->List()->isVisible());
}

TEST_F(BandListTest, EditorFollowsTheBandItShows)
{
    SetBand(1, 1, 100, 5, 1.41f);
    SetBand(6, 1, 2000, -4, 1.0f);
    bands->ShowBand(1, false);
    bands->ShowBand(6, false);
    EXPECT_EQ(bands->EditBand(), 6);
    // Moving a slider applies the editor to band 6 and leaves band 1 alone.
    bands->OnSliderMoved(IDC_EQ_SLIDER_Q, 150);
    EXPECT_EQ(bands->QEdit()->text(), "1.50");
    EXPECT_NEAR(panel->Band(6).q, 1.5f, 1e-6f);
    EXPECT_EQ(panel->Band(1).freq, 100.0f);
    EXPECT_EQ(panel->Band(1).gain, 5.0f);
    EXPECT_EQ(panel->Band(6).gain, -4.0f);
    EXPECT_EQ(panel->Band(6).freq, 2000.0f);
    bands->CloseEditor();
    EXPECT_EQ(bands->EditBand(), -1);
    EXPECT_TRUE(bands->List()->isVisible());
    bands->ApplyBandEditor(); // nothing to apply in list mode
    EXPECT_NEAR(panel->Band(6).q, 1.5f, 1e-6f);
}

TEST_F(BandListTest, SlidersWriteTheirEditsAndApplyTheWholeEditor)
{
    SetBand(2, 1, 400, 0, 2.0f);
    bands->ShowBand(2, false);
    bands->GainEdit()->setText("+4.5dB");
    written.clear();
    bands->OnSliderMoved(IDC_EQ_SLIDER_FREQ, 1234);
    EXPECT_EQ(panel->Band(2).freq, 1234.0f);
    EXPECT_EQ(panel->Band(2).gain, 4.5f); // the gain shown in its edit is applied too
    EXPECT_EQ(bands->FreqEdit()->text(), "1234Hz");
    EXPECT_EQ(bands->CellText(2, EQ_COL_FREQ), "1234Hz");
    EXPECT_EQ(bands->GainSlider()->GetPos(), 45);
    ASSERT_EQ(written.size(), 1u);
    EXPECT_EQ(written[0].record.freq, 1234);

    bands->OnSliderMoved(IDC_EQ_SLIDER_GAIN, -35);
    EXPECT_EQ(bands->GainEdit()->text(), "-3.5dB");
    EXPECT_EQ(panel->Band(2).gain, -3.5f);
}

TEST_F(BandListTest, EnterInAnEditAppliesIt)
{
    SetBand(0, 1, 31, 0, 1.41f);
    bands->ShowBand(0, false);
    bands->FreqEdit()->setText("63Hz");
    bands->FreqEdit()->setFocus();
    QTest::keyClick(bands->FreqEdit(), Qt::Key_Return);
    EXPECT_EQ(panel->Band(0).freq, 63.0f);
    EXPECT_EQ(bands->FreqEdit()->text(), "63Hz");
}

TEST_F(BandListTest, EditorFrequencyZeroIsIgnoredUnlessRaisedTo20)
{
    SetBand(0, 1, 500, 0, 1.41f);
    bands->ShowBand(0, false);
    bands->FreqEdit()->setText("abc");
    bands->ApplyBandEditor();
    EXPECT_EQ(panel->Band(0).freq, 500.0f);
    EXPECT_EQ(bands->FreqEdit()->text(), "500Hz");
    bands->SetRaiseFrequencyTo20(true);
    bands->FreqEdit()->setText("abc");
    bands->ApplyBandEditor();
    EXPECT_EQ(panel->Band(0).freq, 20.0f);
}

TEST_F(BandListTest, RadiosSetTheType)
{
    SetBand(3, 1, 800, 6, 5.0f);
    bands->ShowBand(3, false);
    QTest::mouseClick(bands->Radio(3), Qt::LeftButton);
    EXPECT_EQ(panel->Band(3).type, 4);
    EXPECT_EQ(bands->QSlider()->GetRangeMax(), 200);
    EXPECT_EQ(bands->CellText(3, EQ_COL_TYPE), "LS");
    EXPECT_EQ(bands->QEdit()->text(), "0.70");
    EXPECT_EQ(bands->EditType(), 3);
}

TEST_F(BandListTest, CtrlDigitPicksTheTenthBand)
{
    bands->PickBandByDigit(0);
    EXPECT_EQ(panel->Selected(), 9);
    EXPECT_EQ(bands->EditBand(), 9);
    EXPECT_TRUE(written.empty());
    bands->InstallPickShortcuts(&page);
    panel->setFocus();
    QTest::keyClick(&page, Qt::Key_3, Qt::ControlModifier);
    EXPECT_EQ(panel->Selected(), 2);
    EXPECT_EQ(bands->EditBand(), 2);
}

TEST_F(BandListTest, WheelOverThePageGoesToTheFocusedPanel)
{
    bands->InstallWheelForwarding(&page);
    SetBand(1, 1, 1000, 0, 1.41f);
    panel->SetSelected(1);
    panel->setFocus();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), panel);
    const QPoint over = bands->mapTo(&page, QPoint(50, 50));
    QWheelEvent e(QPointF(50, 50), QPointF(page.mapToGlobal(over)), QPoint(), QPoint(0, 120),
                  Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(bands->List()->viewport(), &e);
    EXPECT_NEAR(panel->Band(1).gain, 0.1f, 1e-6f);
    EXPECT_EQ(bands->EditBand(), 1);
}

TEST_F(BandListTest, SubPageTypesSetTheFourStages)
{
    panel->SetPanelKind(2);
    panel->SetBandCount(20);
    bands->SetBandCount(5);
    EXPECT_EQ(bands->List()->rowCount(), 5);
    SetBand(1, 1, 60, 3, 1.41f);
    bands->ShowBand(1, false);
    written.clear();
    bands->ApplyListEdit(1, EQ_COL_TYPE, "LP");
    const std::array<int, 3> comp = CEqPanel::SubCompanions(1);
    EXPECT_EQ(panel->Band(1).type, 18);
    EXPECT_EQ(panel->Band(comp[0]).type, 20);
    EXPECT_EQ(panel->Band(comp[1]).type, 1);
    EXPECT_EQ(bands->CellText(1, EQ_COL_TYPE), "LP");
    EXPECT_TRUE(bands->Radio(1)->isChecked());
    EXPECT_FALSE(bands->GainEdit()->isEnabled());
    ASSERT_EQ(written.size(), 1u);
    EXPECT_EQ(written[0].band, 1);
    EXPECT_EQ(written[0].record.type, 18);
    panel->SetSubCrossover(1, 3);
    panel->SetSubFilterType(1, 3);
    bands->ShowBand(1, false);
    EXPECT_EQ(bands->CellText(1, EQ_COL_TYPE), "HP");
}

TEST_F(BandListTest, ColumnsFillTheWidthAndTheNumberColumnIsDarkOnEveryRow)
{
    QTableWidget* list = bands->List();
    QHeaderView* header = list->horizontalHeader();
    int covered = 0;
    for (int c = 0; c < list->columnCount(); ++c) {
        covered += header->sectionSize(c);
    }
    EXPECT_EQ(covered, list->viewport()->width());
    // After a rebuild too (another band count), every number cell on the same dark ground.
    bands->SetBandCount(7);
    for (int r = 0; r < list->rowCount(); ++r) {
        const QTableWidgetItem* item = list->item(r, EQ_COL_NUMBER);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->background().color(), QColor(20, 20, 20)) << r;
        EXPECT_GT(item->foreground().color().lightness(), 150) << r;
    }
}
