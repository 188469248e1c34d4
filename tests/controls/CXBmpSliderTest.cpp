// Input rules and notifications of the bitmap slider, driven through QTest.
#include "controls/CXBmpSlider.h"

#include "controls/ControlMessages.h"
#include "controls/QtPrinters.h"

#include <QApplication>
#include <QImage>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

constexpr int kId = 1056;

// One slider on a shown, active window, with its notifications collected.
class SliderFixture : public ::testing::Test
{
protected:
    void Make(bool vertical, int minimum, int maximum, int position)
    {
        window_.resize(300, 200);
        // Something else holds the focus at the start, so that each test gives it on purpose.
        holder_ = new QWidget(&window_);
        holder_->setFocusPolicy(Qt::StrongFocus);
        holder_->setGeometry(200, 100, 20, 20);
        slider_ = new CXBmpSlider(&window_, kId);
        if (vertical)
            slider_->SetupVertical();
        else
            slider_->SetupHorizontal();
        slider_->SetRange(minimum, maximum);
        slider_->SetPos(position);
        slider_->move(10, 10);
        slider_->resize(slider_->sizeHint());
        other_ = new CXBmpSlider(&window_, kId + 1);
        other_->SetupHorizontal();
        other_->move(10, 160);
        window_.show();
        QApplication::setActiveWindow(&window_);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
        holder_->setFocus();
        QCoreApplication::processEvents();
        ASSERT_FALSE(slider_->hasFocus());
        moved_ = std::make_unique<QSignalSpy>(slider_, &CXBmpSlider::SliderMoved);
        focused_ = std::make_unique<QSignalSpy>(slider_, &CXBmpSlider::SliderFocused);
    }

    // The notifications are posted: let the event loop deliver them, then take them.
    std::vector<std::pair<int, int>> Moved()
    {
        QCoreApplication::processEvents();
        std::vector<std::pair<int, int>> out;
        for (const QList<QVariant>& args : *moved_)
            out.emplace_back(args.at(0).toInt(), args.at(1).toInt());
        moved_->clear();
        return out;
    }

    void Press(QPoint at) { QTest::mousePress(slider_, Qt::LeftButton, Qt::NoModifier, at); }
    void Release(QPoint at) { QTest::mouseRelease(slider_, Qt::LeftButton, Qt::NoModifier, at); }
    void Click(QPoint at)
    {
        Press(at);
        Release(at);
    }
    // Sends one wheel message; returns whether the slider took it.
    bool Wheel(int delta)
    {
        const QPointF at(5, 5);
        QWheelEvent event(at, slider_->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(slider_, &event);
        return event.isAccepted();
    }
    QPoint ThumbCentre() const
    {
        const SliderThumbRect r = slider_->ThumbRect();
        return {r.x + r.width / 2, r.y + r.height / 2};
    }

    QWidget window_;
    QWidget* holder_ = nullptr;
    CXBmpSlider* slider_ = nullptr;
    CXBmpSlider* other_ = nullptr;
    std::unique_ptr<QSignalSpy> moved_;
    std::unique_ptr<QSignalSpy> focused_;
};

using Moves = std::vector<std::pair<int, int>>;

TEST_F(SliderFixture, StandardSetUpsGiveTheChannelAndThumbSizes)
{
    Make(false, 0, 100, 0);
    const SliderGeometry h = slider_->Geometry();
    EXPECT_EQ(std::make_pair(h.width, h.height), std::make_pair(120, 22));
    EXPECT_EQ(std::make_pair(h.thumbWidth, h.thumbHeight), std::make_pair(13, 17));
    EXPECT_EQ(slider_->sizeHint(), QSize(120, 22));
    EXPECT_EQ(slider_->BackgroundColor(), QColor(240, 250, 255));

    CXBmpSlider v;
    v.SetupVertical();
    const SliderGeometry g = v.Geometry();
    EXPECT_TRUE(g.vertical);
    EXPECT_EQ(std::make_pair(g.width, g.height), std::make_pair(22, 130));
    EXPECT_EQ(std::make_pair(g.thumbWidth, g.thumbHeight), std::make_pair(17, 13));
    EXPECT_EQ(std::make_pair(g.marginLeft, g.marginRight), std::make_pair(3, 2));
    EXPECT_EQ(std::make_pair(g.marginTop, g.marginBottom), std::make_pair(7, 7));
}

TEST_F(SliderFixture, StretchedChannelLengthensTheTravel)
{
    Make(false, 0, 25, 25);
    slider_->SetChannelSize(QSize(200, 22));
    EXPECT_EQ(slider_->sizeHint(), QSize(200, 22));
    EXPECT_EQ(slider_->ThumbRect().x, 200 - 13 - 7);
    slider_->SetChannelSize(QSize());
    EXPECT_EQ(slider_->sizeHint(), QSize(120, 22));
}

TEST_F(SliderFixture, SetPosBeyondTheRangeStoresTheNearestEndAndPostsNothing)
{
    Make(false, 0, 100, 50);
    slider_->SetPos(250);
    EXPECT_EQ(slider_->GetPos(), 100);
    slider_->SetPos(-3);
    EXPECT_EQ(slider_->GetPos(), 0);
    EXPECT_TRUE(Moved().empty());
}

TEST_F(SliderFixture, SetRangePullsThePositionIn)
{
    Make(false, 0, 3000, 2500);
    slider_->SetRangeMax(200);
    EXPECT_EQ(slider_->GetPos(), 200);
    slider_->SetRange(300, 100); // maximum below minimum: an empty range at 300
    EXPECT_EQ(slider_->GetRangeMax(), 300);
    EXPECT_EQ(slider_->GetPos(), 300);
    EXPECT_TRUE(Moved().empty());
}

TEST_F(SliderFixture, TrackPressAtTheMaximumKeepsItAndStillPosts)
{
    Make(false, 0, 100, 100);
    // Thumb at 100..112: a press right of it asks for +1.
    Click(QPoint(116, 10));
    EXPECT_EQ(slider_->GetPos(), 100);
    EXPECT_EQ(Moved(), (Moves{{kId, 100}}));
}

TEST_F(SliderFixture, VerticalTrackPressAtTheMaximumKeepsItAndStillPosts)
{
    Make(true, -150, 150, 150);
    EXPECT_EQ(slider_->ThumbRect().y, 7); // at the top margin
    Click(QPoint(10, 3));                 // above the thumb
    EXPECT_EQ(slider_->GetPos(), 150);
    EXPECT_EQ(Moved(), (Moves{{kId, 150}}));
}

TEST_F(SliderFixture, TrackPressesStepOneTowardsThePress)
{
    Make(false, 0, 100, 50);
    Click(QPoint(20, 10));  // left of the thumb
    Click(QPoint(20, 10));  // again
    Click(QPoint(115, 10)); // right of it
    EXPECT_EQ(slider_->GetPos(), 49);
    EXPECT_EQ(Moved(), (Moves{{kId, 49}, {kId, 48}, {kId, 49}}));
}

TEST_F(SliderFixture, VerticalTrackPressBelowTheThumbStepsDown)
{
    Make(true, 20, 20000, 1000);
    Click(QPoint(10, 125));
    EXPECT_EQ(slider_->GetPos(), 999);
    Click(QPoint(10, 2));
    EXPECT_EQ(slider_->GetPos(), 1000);
    EXPECT_EQ(Moved(), (Moves{{kId, 999}, {kId, 1000}}));
}

TEST_F(SliderFixture, PressOnTheThumbGrabsWithoutMovingAndDragFollowsThePointer)
{
    Make(false, 0, 100, 50);
    const QPoint grab = ThumbCentre() + QPoint(3, 0); // off the thumb's exact centre
    Press(grab);
    EXPECT_TRUE(slider_->IsDragging());
    EXPECT_EQ(slider_->GetPos(), 50);
    QTest::mouseMove(slider_, QPoint(106, 10));
    EXPECT_EQ(slider_->GetPos(), 100);
    QTest::mouseMove(slider_, QPoint(-40, 10)); // outside the widget: clamped
    EXPECT_EQ(slider_->GetPos(), 0);
    QTest::mouseMove(slider_, QPoint(60, 10));
    EXPECT_EQ(slider_->GetPos(), 50);
    Release(QPoint(60, 10));
    EXPECT_FALSE(slider_->IsDragging());
    QTest::mouseMove(slider_, QPoint(20, 10)); // no longer dragging
    EXPECT_EQ(slider_->GetPos(), 50);
    EXPECT_EQ(Moved(), (Moves{{kId, 50}, {kId, 100}, {kId, 0}, {kId, 50}}));
}

TEST_F(SliderFixture, VerticalDragPutsTheMaximumAtTheTop)
{
    Make(true, -150, 150, 0);
    Press(ThumbCentre());
    QTest::mouseMove(slider_, QPoint(10, 13));
    EXPECT_EQ(slider_->GetPos(), 150);
    QTest::mouseMove(slider_, QPoint(10, 116));
    EXPECT_EQ(slider_->GetPos(), -150);
    Release(QPoint(10, 116));
}

TEST_F(SliderFixture, ArrowKeysStepAndPostEvenAtTheEnds)
{
    Make(false, 0, 2, 1);
    slider_->setFocus();
    const std::pair<Qt::Key, int> keys[] = {
        {Qt::Key_Up, 2},   {Qt::Key_Right, 2}, {Qt::Key_Left, 1},
        {Qt::Key_Down, 0}, {Qt::Key_Down, 0},
    };
    Moves expected;
    for (const auto& [key, position] : keys) {
        QTest::keyClick(slider_, key);
        EXPECT_EQ(slider_->GetPos(), position) << key;
        expected.emplace_back(kId, position);
    }
    EXPECT_EQ(Moved(), expected);
}

TEST_F(SliderFixture, OtherKeysAreLeftAlone)
{
    Make(false, 0, 100, 10);
    slider_->setFocus();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_PageUp, Qt::NoModifier);
    QApplication::sendEvent(slider_, &press);
    EXPECT_FALSE(press.isAccepted());
    EXPECT_EQ(slider_->GetPos(), 10);
    EXPECT_TRUE(Moved().empty());
}

TEST_F(SliderFixture, TabMovesTheFocusOn)
{
    Make(false, 0, 100, 10);
    slider_->setFocus();
    QTest::keyClick(slider_, Qt::Key_Tab);
    EXPECT_TRUE(other_->hasFocus());
    EXPECT_EQ(slider_->GetPos(), 10);
    EXPECT_FALSE(slider_->IsFocused());
}

TEST_F(SliderFixture, WheelStepsOncePerMessageWhateverTheDelta)
{
    Make(false, 0, 100, 10);
    slider_->setFocus();
    Wheel(120);
    Wheel(480);
    Wheel(-15);
    Wheel(0); // a pure phase message carries no direction
    EXPECT_EQ(slider_->GetPos(), 11);
    EXPECT_EQ(Moved(), (Moves{{kId, 11}, {kId, 12}, {kId, 11}}));
}

TEST_F(SliderFixture, WheelOverAnUnfocusedSliderIsLeftToThePage)
{
    Make(false, 0, 100, 10);
    EXPECT_FALSE(Wheel(120));
    EXPECT_EQ(slider_->GetPos(), 10);
    EXPECT_TRUE(Moved().empty());
}

TEST_F(SliderFixture, ClearedEnabledFlagIgnoresPressesKeysAndWheel)
{
    Make(false, 0, 100, 50);
    slider_->SetSliderEnabled(false);
    Click(QPoint(20, 10));
    Press(ThumbCentre());
    EXPECT_FALSE(slider_->IsDragging());
    Release(ThumbCentre());
    EXPECT_FALSE(slider_->hasFocus()); // a press does not give it the focus
    slider_->setFocus();
    QTest::keyClick(slider_, Qt::Key_Up);
    Wheel(120);
    EXPECT_EQ(slider_->GetPos(), 50);
    EXPECT_TRUE(Moved().empty());
    EXPECT_EQ(slider_->ThumbPictureNumber(), 325);
}

TEST_F(SliderFixture, ThumbPictureFollowsFocusAndEnabledFlag)
{
    Make(true, 0, 100, 50);
    EXPECT_EQ(slider_->ThumbPictureNumber(), 449);
    slider_->setFocus();
    EXPECT_EQ(slider_->ThumbPictureNumber(), 447);
    slider_->SetSliderEnabled(false);
    EXPECT_EQ(slider_->ThumbPictureNumber(), 450);
}

TEST_F(SliderFixture, PressTakesTheFocusAndFocusPostsSliderFocused)
{
    Make(false, 0, 100, 50);
    Click(QPoint(20, 10));
    EXPECT_TRUE(slider_->hasFocus());
    EXPECT_TRUE(slider_->IsFocused());
    QCoreApplication::processEvents();
    ASSERT_EQ(focused_->count(), 1);
    EXPECT_EQ(focused_->at(0).at(0).toInt(), kId);
    EXPECT_EQ(focused_->at(0).at(1).toInt(), 0);
    other_->setFocus();
    EXPECT_FALSE(slider_->IsFocused());
    EXPECT_EQ(focused_->count(), 1);
}

TEST_F(SliderFixture, NotificationsArePostedNotSent)
{
    Make(false, 0, 100, 50);
    int seenDuringPress = -1;
    QObject::connect(slider_, &CXBmpSlider::SliderMoved, slider_,
                     [&](int, int position) { seenDuringPress = position; });
    Press(QPoint(20, 10));
    EXPECT_EQ(seenDuringPress, -1); // the press handler has finished before the page sees it
    QCoreApplication::processEvents();
    EXPECT_EQ(seenDuringPress, 49);
    Release(QPoint(20, 10));
}

TEST(CXBmpSliderPictures, UnsizedSliderTakesTheChannelSizeAndASizedOneKeepsItsSize)
{
    CXBmpSlider unsized;
    unsized.SetupVertical();
    EXPECT_EQ(unsized.size(), QSize(22, 130));
    unsized.SetChannelSize(QSize(22, 90));
    EXPECT_EQ(unsized.size(), QSize(22, 90));

    CXBmpSlider sized;
    sized.resize(150, 30);
    sized.SetupHorizontal();
    EXPECT_EQ(sized.size(), QSize(150, 30));
}

TEST(CXBmpSliderPictures, MissingPicturesFailQuietlyAndStillDraw)
{
    CXBmpSlider slider;
    EXPECT_FALSE(slider.SetBitmapChannel(9999));
    EXPECT_FALSE(slider.SetBitmapThumb(9998, 9997, 9996));
    slider.SetRange(0, 10);
    slider.SetPos(5);
    slider.resize(slider.sizeHint());
    EXPECT_FALSE(slider.sizeHint().isEmpty());
    const QImage shot = slider.grab().toImage();
    EXPECT_FALSE(shot.isNull());
}

} // namespace

TEST(SliderBackground, InThePageColourWhatLiesUnderShowsThrough)
{
    const QColor page(240, 250, 255);
    const QColor groupInside(237, 247, 252);
    QWidget window;
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, page);
    window.setPalette(palette);
    window.setAutoFillBackground(true);
    window.resize(200, 120);
    // Something a shade darker under the first slider, as a group box's inside is.
    auto* ground = new QWidget(&window);
    QPalette groundPalette = ground->palette();
    groundPalette.setColor(QPalette::Window, groupInside);
    ground->setPalette(groundPalette);
    ground->setAutoFillBackground(true);
    ground->setGeometry(0, 0, 200, 60);
    auto* onGroup = new CXBmpSlider(&window, 1);
    onGroup->SetupHorizontal();
    onGroup->move(10, 10);
    onGroup->resize(onGroup->sizeHint());
    // A slider given another colour than its page's still clears with it.
    auto* own = new CXBmpSlider(&window, 2);
    own->SetupHorizontal();
    own->SetBackgroundColor(QColor(200, 0, 0));
    own->move(10, 70);
    own->resize(own->sizeHint());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const QImage shot = window.grab().toImage();
    EXPECT_EQ(QColor(shot.pixel(onGroup->pos() + QPoint(1, 1))), groupInside);
    EXPECT_EQ(QColor(shot.pixel(own->pos() + QPoint(1, 1))), QColor(200, 0, 0));
    EXPECT_EQ(onGroup->BackgroundColor(), page);
}
