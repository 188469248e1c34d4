// The sound-field page: loading writes nothing; dragging, typing and stepping positions, the
// room size, Center and Reset all write what the room plan asks, in order; and the same
// page against an emulated processor through the transport.
#include "pages/CSSVCDlg.h"

#include "controls/CGdipButton.h"
#include "dsp/DspFixture.h"
#include "dsp/SoundField.h"
#include "link/LinkState.h"
#include "link/UsbTransport.h"
#include "link/emulator/EmulatedProcessor.h"
#include "link/emulator/VirtualHidBus.h"
#include "model/DeviceMemory.h"
#include "pages/COutputNavBar.h"
#include "pages/CSSVolumePanel.h"
#include "pages/CSpinButton.h"
#include "pages/PagesFixture.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <bit>
#include <chrono>

using namespace std::chrono_literals;

namespace {
const std::vector<uint8_t> kResetBlock945 = {0x04, 0x04, 0x00, 0x00, 0x8A, 0x0A, 0x00,
                                             0x0A, 0x0A, 0x0A, 0x8A, 0x8A, 0x00, 0x8A,
                                             0x0A, 0x8A, 0x85, 0x00, 0x05, 0x00};

// The drawing at 460 x 460 pixels: 400 x 400 inside the margins, 100 pixels a metre in the
// start-up 4 m room, the centre at (230, 230).
constexpr int kPanelSide = 460;

void Mouse(QWidget* w, QEvent::Type type, QPointF at, Qt::MouseButton button,
           Qt::MouseButtons buttons)
{
    QMouseEvent e(type, at, w->mapToGlobal(at), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

void Drag(QWidget* w, QPointF from, QPointF to)
{
    Mouse(w, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    Mouse(w, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    Mouse(w, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
}

void PressEnter(QLineEdit* edit)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(edit, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(edit, &release);
}

void Type(QLineEdit* edit, const QString& text)
{
    edit->setText(text);
    PressEnter(edit);
}

class SoundFieldPage : public PagesFixture
{
protected:
    void SetUp() override
    {
        PagesFixture::SetUp();
        page_ = std::make_unique<CSSVCDlg>(&shell_);
        page_->Panel()->setFixedSize(kPanelSide, kPanelSide);
        page_->resize(1024, 520);
        page_->show();
        Settle();
        sink_.Clear();
    }
    void TearDown() override
    {
        page_.reset();
        PagesFixture::TearDown();
        ResetDeviceMemoryToStartup();
    }
    std::vector<SentReport> Take()
    {
        std::vector<SentReport> out;
        for (const Report& r : sink_.Reports()) {
            out.push_back(TakeApart(r));
        }
        sink_.Clear();
        return out;
    }
    QPointF Pixel(float x, float y) const
    {
        const SoundFieldPixel p = PixelFromMetres(page_->Panel()->View(), {x, y});
        return {p.x, p.y};
    }

    std::unique_ptr<CSSVCDlg> page_;
};

bool IsBlock(const SentReport& s, int address)
{
    return s.command == kCmdWriteBlock && s.address == address;
}
} // namespace

TEST_F(SoundFieldPage, LoadingShowsTheGeometryAndWritesNothing)
{
    SetSoundFieldRoom(5, 3);
    SetSoundFieldPoint(SF_REAR_R, 1.26f, -0.05f);
    page_->Refresh();
    EXPECT_TRUE(sink_.Reports().empty());

    EXPECT_EQ(page_->WidthEdit()->text(), "5m");
    EXPECT_EQ(page_->LengthEdit()->text(), "3m");
    EXPECT_EQ(page_->WidthSpin()->GetPos(), 5);
    EXPECT_EQ(page_->XSpin(SF_REAR_R)->Upper(), 25);
    EXPECT_EQ(page_->YSpin(SF_REAR_R)->Lower(), -15);
    EXPECT_EQ(page_->XEdit(SF_REAR_R)->text(), "+1.3m");
    EXPECT_EQ(page_->YEdit(SF_REAR_R)->text(), "-0.1m");
    EXPECT_EQ(page_->XSpin(SF_REAR_R)->GetPos(), 13);
    EXPECT_EQ(page_->YSpin(SF_REAR_R)->GetPos(), -1);
    EXPECT_EQ(page_->XEdit(SF_MAIN_L)->text(), "-1.0m");
    EXPECT_EQ(page_->YEdit(SF_LISTENER)->text(), "+0.0m");
    EXPECT_EQ(page_->Panel()->PointPosition(SF_REAR_R).x, 1.26f);
    // A new page loads the same way, silently.
    CSSVCDlg another(&shell_);
    EXPECT_TRUE(sink_.Reports().empty());
}

TEST_F(SoundFieldPage, DraggingTheListenerWritesTheSameAsTypingItsPosition)
{
    CSSVolumePanel* panel = page_->Panel();
    ASSERT_EQ(panel->PointPixel(SF_LISTENER), QPointF(230, 230));
    Drag(panel, {232, 226}, {330, 130}); // to (+1, +1)
    const std::vector<SentReport> dragged = Take();
    EXPECT_EQ(page_->XEdit(SF_LISTENER)->text(), "+1.0m");
    EXPECT_EQ(page_->YSpin(SF_LISTENER)->GetPos(), 10);
    EXPECT_EQ(CurrentSoundFieldGeometry().points[SF_LISTENER], (SoundFieldPosition{1.0f, 1.0f}));

    // Geometry block, then each speaker's Block965 and level block, Main L first.
    ASSERT_EQ(dragged.size(), 17u);
    ASSERT_TRUE(IsBlock(dragged[0], 945));
    EXPECT_EQ(dragged[0].data[2], 0x0A);
    EXPECT_EQ(dragged[0].data[3], 0x0A);
    ASSERT_TRUE(IsBlock(dragged[1], 965));
    EXPECT_EQ(dragged[1].data.size(), 32u);
    EXPECT_TRUE(dragged[2].Is(5, 28));
    // Main R (point 3) is on the listener now: +3 dB in its slot 1.
    EXPECT_TRUE(dragged[6].Is(5, 29));
    EXPECT_EQ(GetFloatBE(&dragged[5].data[4]), 3.0f);
    EXPECT_TRUE(dragged[16].Is(9, 29));

    // The same place typed, from the start-up state: the same reports.
    ResetDeviceMemoryToStartup();
    page_->Refresh();
    sink_.Clear();
    page_->XEdit(SF_LISTENER)->setText("+1.0m");
    Type(page_->YEdit(SF_LISTENER), "1");
    const std::vector<SentReport> typed = Take();
    ASSERT_EQ(typed.size(), dragged.size());
    for (size_t i = 0; i < typed.size(); ++i) {
        EXPECT_EQ(typed[i].raw, dragged[i].raw) << "report " << i;
    }
    EXPECT_EQ(page_->YEdit(SF_LISTENER)->text(), "+1.0m");
    EXPECT_EQ(panel->PointPixel(SF_LISTENER), QPointF(330, 130));
}

TEST_F(SoundFieldPage, GrabWithinSixteenPixelsInPointOrderAndHeldInsideTheMargin)
{
    CSSVolumePanel* panel = page_->Panel();
    // Top L 0.1 m left of the listener: a press between them takes the listener (point 0).
    SetSoundFieldPoint(SF_TOP_L, -0.1f, 0.0f);
    page_->Refresh();
    Mouse(panel, QEvent::MouseButtonPress, {225, 230}, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(panel->GrabbedPoint(), SF_LISTENER);
    Mouse(panel, QEvent::MouseButtonRelease, {225, 230}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(panel->GrabbedPoint(), -1);

    // Center is drawn at (230, 130): 16 pixels off grabs it, 17 does not.
    Mouse(panel, QEvent::MouseButtonPress, {247, 130}, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(panel->GrabbedPoint(), -1);
    Mouse(panel, QEvent::MouseMove, {100, 100}, Qt::NoButton, Qt::LeftButton);
    Mouse(panel, QEvent::MouseButtonRelease, {100, 100}, Qt::LeftButton, Qt::NoButton);
    EXPECT_TRUE(sink_.Reports().empty());
    Mouse(panel, QEvent::MouseButtonPress, {246, 114}, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(panel->GrabbedPoint(), SF_CENTER);
    // Far outside the drawing: held on the room's front-left corner.
    Mouse(panel, QEvent::MouseMove, {-80, -300}, Qt::NoButton, Qt::LeftButton);
    Mouse(panel, QEvent::MouseButtonRelease, {-80, -300}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(panel->PointPixel(SF_CENTER), QPointF(30, 30));
    EXPECT_EQ(page_->XEdit(SF_CENTER)->text(), "-2.0m");
    EXPECT_EQ(page_->YEdit(SF_CENTER)->text(), "+2.0m");

    // A speaker dragged: its level (Block965 whole, then the level block), then Block945.
    const std::vector<SentReport> r = Take();
    ASSERT_EQ(r.size(), 3u);
    ASSERT_TRUE(IsBlock(r[0], 965));
    const float level = 3.0f - 3.0f * std::sqrt(4.0f + 4.0f);
    EXPECT_EQ(GetFloatBE(&r[0].data[16]), level); // Center's slot 4
    EXPECT_TRUE(r[1].Is(7, 23));
    ASSERT_TRUE(IsBlock(r[2], 945));
    EXPECT_EQ(r[2].data[6], 0x94);
    EXPECT_EQ(r[2].data[7], 0x14);
}

TEST_F(SoundFieldPage, TypedPositionsAreLimitedToTheRoomAndSpinStepsMoveByATenth)
{
    Type(page_->XEdit(SF_MAIN_R), "9.3m");
    std::vector<SentReport> r = Take();
    // Typed: Block945, then the speaker's level.
    ASSERT_EQ(r.size(), 3u);
    ASSERT_TRUE(IsBlock(r[0], 945));
    EXPECT_EQ(r[0].data[8], 0x14); // +2.0 m
    EXPECT_TRUE(IsBlock(r[1], 965));
    EXPECT_TRUE(r[2].Is(5, 29));
    EXPECT_EQ(page_->XEdit(SF_MAIN_R)->text(), "+2.0m");
    EXPECT_EQ(page_->XSpin(SF_MAIN_R)->GetPos(), 20);

    // Up at the range end stays at +2.0 m; down steps to +1.9 m and the box takes the focus.
    page_->XSpin(SF_MAIN_R)->UpButton()->click();
    EXPECT_EQ(page_->XEdit(SF_MAIN_R)->text(), "+2.0m");
    Take();
    page_->YSpin(SF_SUB)->DownButton()->click();
    EXPECT_EQ(page_->YEdit(SF_SUB)->text(), "-1.1m");
    EXPECT_EQ(QApplication::focusWidget(), page_->YEdit(SF_SUB));
    r = Take();
    ASSERT_EQ(r.size(), 3u);
    EXPECT_EQ(r[0].data[13], 0x8B);
    EXPECT_TRUE(r[2].Is(8, 33));
    EXPECT_EQ(GetFloatBE(&r[1].data[20]), 3.0f - 3.0f * 1.1f);
    EXPECT_EQ(page_->Panel()->PointPosition(SF_SUB).y, -1.1f);

    // Text that is no number reads as 0; -0.05 m is stored as -0.1 m (0x81).
    page_->YEdit(SF_TOP_R)->setText("-0.05");
    Type(page_->XEdit(SF_TOP_R), "abc");
    r = Take();
    ASSERT_FALSE(r.empty());
    EXPECT_EQ(r[0].data[18], 0x00);
    EXPECT_EQ(r[0].data[19], 0x81);
    EXPECT_EQ(page_->YEdit(SF_TOP_R)->text(), "-0.1m");
}

TEST_F(SoundFieldPage, RoomSizeChangesMoveNothingAndRecomputeNoLevel)
{
    // A 5 m long room: y ranges of -25..25 tenths.
    page_->WidthEdit()->setText("0");
    page_->LengthEdit()->setText("5m");
    page_->ModifyButton()->click();
    EXPECT_EQ(page_->WidthEdit()->text(), "1m");
    EXPECT_EQ(page_->LengthEdit()->text(), "5m");
    EXPECT_EQ(page_->YSpin(SF_MAIN_L)->Lower(), -25);
    EXPECT_EQ(page_->YSpin(SF_MAIN_L)->Upper(), 25);
    EXPECT_EQ(page_->XSpin(SF_MAIN_L)->Upper(), 5);
    std::vector<SentReport> r = Take();
    ASSERT_EQ(r.size(), 1u);
    ASSERT_TRUE(IsBlock(r[0], 945));
    EXPECT_EQ(r[0].data[0], 1);
    EXPECT_EQ(r[0].data[1], 5);
    EXPECT_EQ(r[0].data[4], 0x8A); // Main L still 1 m to the left, outside the 1 m room
    EXPECT_EQ(page_->XEdit(SF_MAIN_L)->text(), "-1.0m");
    EXPECT_EQ(page_->Panel()->PointPosition(SF_MAIN_L).x, -1.0f);

    // The room spin: one step, the same treatment.
    page_->WidthSpin()->UpButton()->click();
    r = Take();
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].data[0], 2);
    EXPECT_EQ(page_->WidthEdit()->text(), "2m");
    EXPECT_EQ(CurrentSoundFieldGeometry().width, 2);
    page_->LengthEdit()->setText("99");
    page_->ModifyButton()->click();
    EXPECT_EQ(CurrentSoundFieldGeometry().length, 10);
    EXPECT_EQ(page_->LengthSpin()->GetPos(), 10);
}

TEST_F(SoundFieldPage, CenterAndResetAll)
{
    Type(page_->XEdit(SF_LISTENER), "-1.5");
    Take();
    page_->CenterButton()->click();
    std::vector<SentReport> r = Take();
    ASSERT_EQ(r.size(), 17u);
    EXPECT_EQ(r[0].data[2], 0x00);
    EXPECT_EQ(page_->XEdit(SF_LISTENER)->text(), "+0.0m");
    EXPECT_EQ(page_->Panel()->PointPixel(SF_LISTENER), QPointF(230, 230));

    page_->LengthEdit()->setText("7");
    page_->ModifyButton()->click();
    Type(page_->XEdit(SF_REAR_L), "-3");
    Take();
    page_->ResetButton()->click();
    r = Take();
    ASSERT_EQ(r.size(), 17u);
    const int params[][2] = {{5, 28}, {7, 23}, {5, 29}, {6, 28},
                             {8, 33}, {6, 29}, {9, 28}, {9, 29}};
    for (size_t i = 0; i < 8; ++i) {
        ASSERT_TRUE(IsBlock(r[2 * i], 965)) << i;
        EXPECT_TRUE(r[2 * i + 1].Is(params[i][0], params[i][1])) << i;
        EXPECT_EQ(r[2 * i + 1].Word(0), 0x3F800000u) << i;
    }
    EXPECT_EQ(r[14].data, std::vector<uint8_t>(32, 0));
    ASSERT_TRUE(IsBlock(r[16], 945));
    EXPECT_EQ(r[16].data, kResetBlock945);
    // Loaded again.
    EXPECT_EQ(page_->LengthEdit()->text(), "4m");
    EXPECT_EQ(page_->XEdit(SF_REAR_L)->text(), "-1.0m");
    EXPECT_EQ(page_->YSpin(SF_REAR_L)->Lower(), -20);
}

TEST_F(SoundFieldPage, NavigationBarShowsLocationSelectedAndSwitchesPages)
{
    COutputNavBar* nav = page_->NavBar();
    for (int i = 0; i < kOutputNavButtons; ++i) {
        const bool own = OutputNavEntries()[static_cast<size_t>(i)].page == PageKind::SoundField;
        EXPECT_EQ(nav->Button(i)->IsChecked(), own) << i;
    }
    page_->Refresh();
    int delay = -1;
    for (int i = 0; i < kOutputNavButtons; ++i) {
        const OutputNavEntry& e = OutputNavEntries()[static_cast<size_t>(i)];
        EXPECT_EQ(nav->Button(i)->IsChecked(), e.page == PageKind::SoundField) << i;
        if (e.page == PageKind::Delay) {
            delay = i;
        }
    }
    ASSERT_GE(delay, 0);
    nav->Choose(delay);
    ASSERT_FALSE(shell_.shown.empty());
    EXPECT_EQ(shell_.shown.back(), PageKind::Delay);
    EXPECT_TRUE(sink_.Reports().empty());
}

TEST_F(SoundFieldPage, CaptionsFollowTheLanguage)
{
    SetLanguage(1);
    page_->Relabel();
    const QString english = CSSVolumePanel::SpeakerLabel(SF_MAIN_L, 1);
    EXPECT_EQ(english, "Main.L(ML)");
    EXPECT_EQ(CSSVolumePanel::SpeakerLabel(SF_SUB, 0), QString::fromUtf8("超低(S)"));
    EXPECT_EQ(page_->ModifyButton()->text(), "Modify");
    EXPECT_EQ(page_->ResetButton()->text(), "Reset all");
    SetLanguage(0);
    page_->Relabel();
    EXPECT_EQ(page_->CenterButton()->text(), QString::fromUtf8("居中"));
}

// The page against an emulated processor through the transport: what it holds afterwards.
TEST(SoundFieldPageOnProcessor, DraggedSpeakerAndResetReachTheProcessorMemoryAndLevels)
{
    ResetLinkState();
    ResetDeviceMemoryToStartup();
    VirtualHidBus bus;
    SetUsbBackend(&bus);
    SetUsbTimings({200ms, 100ms});
    EmulatorOptions options;
    options.latency = 0ms;
    std::string error;
    auto processor = EmulatedProcessor::Create(options, &error);
    ASSERT_TRUE(bus.AddInterface({"/dev/hidraw-sf", 1, 0x2010, 0x1031, processor, ""}));
    ASSERT_EQ(ConnectUsbDevice(), 1);

    {
        CSSVCDlg page(nullptr);
        page.Panel()->setFixedSize(kPanelSide, kPanelSide);
        page.resize(1024, 520);
        page.show();
        // Sub from (0, -1) to 4 m in front of the listener, in a 10 m room.
        page.LengthEdit()->setText("10");
        page.ModifyButton()->click();
        const SoundFieldView v = page.Panel()->View();
        const SoundFieldPixel from = PixelFromMetres(v, {0.0f, -1.0f});
        const SoundFieldPixel to = PixelFromMetres(v, {0.0f, 4.0f});
        Drag(page.Panel(), {from.x, from.y}, {to.x, to.y});
        EXPECT_EQ(page.YEdit(SF_SUB)->text(), "+4.0m");

        auto memoryAt = [&](size_t address) { return processor->State().working.memory[address]; };
        auto subGain = [&] { return processor->State().working.params.Word(8, 33, 0); };
        const uint32_t minus9 = std::bit_cast<uint32_t>(static_cast<float>(std::pow(10.0, -0.45)));
        EXPECT_TRUE(QTest::qWaitFor([&] { return subGain() == minus9; }, 3000));
        EXPECT_TRUE(QTest::qWaitFor([&] { return memoryAt(945 + 13) == 0x28; }, 3000));
        EXPECT_EQ(memoryAt(945 + 1), 10);
        // Slot 5 of Block965 holds -9.0 (C1 10 00 00).
        EXPECT_EQ(memoryAt(965 + 20), 0xC1);
        EXPECT_EQ(memoryAt(965 + 21), 0x10);

        page.ResetButton()->click();
        EXPECT_TRUE(QTest::qWaitFor([&] { return subGain() == 0x3F800000u; }, 3000));
        EXPECT_TRUE(QTest::qWaitFor([&] { return memoryAt(945 + 1) == 4; }, 3000));
        for (size_t i = 0; i < kResetBlock945.size(); ++i) {
            EXPECT_EQ(memoryAt(945 + i), kResetBlock945[i]) << i;
        }
        for (size_t i = 0; i < 32; ++i) {
            EXPECT_EQ(memoryAt(965 + i), 0) << i;
        }
    }
    CloseUsbDevice(false);
    SetUsbBackend(nullptr);
    SetUsbTimings({});
    ResetLinkState();
    ResetDeviceMemoryToStartup();
}
