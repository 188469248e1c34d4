// State choice, toggle and checked behaviour, double clicks and the hover tooltip of the
// image button.
#include "controls/CGdipButton.h"

#include "controls/QtPrinters.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

namespace {

using State = CGdipButton::State;

struct StateCase
{
    bool disabledLook;
    bool pressed;
    bool hover;
    bool checked;
    State state;
};

TEST(CGdipButton, StateFollowsDisabledPressedHoverCheckedInThatOrder)
{
    const StateCase cases[] = {
        {false, false, false, false, State::Normal},
        {false, false, false, true, State::Checked},
        {false, false, true, false, State::Hot},
        {false, false, true, true, State::CheckedHot},
        {false, true, false, false, State::Pressed},
        {false, true, true, false, State::Pressed},
        {false, true, false, true, State::CheckedPressed},
        {false, true, true, true, State::CheckedPressed},
        {true, false, false, true, State::Disabled}, // grey standard picture, not the alternate
        {true, true, true, true, State::Disabled},
        {true, false, false, false, State::Disabled},
    };
    for (const StateCase& c : cases)
        EXPECT_EQ(CGdipButton::ChooseState(c.disabledLook, c.pressed, c.hover, c.checked), c.state)
            << c.disabledLook << c.pressed << c.hover << c.checked;
}

class ButtonFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        window_.resize(200, 100);
        button_ = new CGdipButton(QStringLiteral("Main"), &window_);
        ASSERT_TRUE(button_->LoadStdImage(414));
        ASSERT_TRUE(button_->LoadAltImage(395));
        button_->SetTextColor(Qt::white);
        button_->setGeometry(10, 10, 87, 23);
        window_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
        clicks_ = std::make_unique<QSignalSpy>(button_, &QAbstractButton::clicked);
    }

    QPoint Centre() const { return button_->rect().center(); }

    QWidget window_;
    CGdipButton* button_ = nullptr;
    std::unique_ptr<QSignalSpy> clicks_;
};

TEST_F(ButtonFixture, CheckedButtonDrawsTheAlternateAndDisabledLookWins)
{
    EXPECT_TRUE(button_->HasAltImage());
    EXPECT_EQ(button_->CurrentState(), State::Normal);
    button_->SetChecked(true);
    EXPECT_EQ(button_->CurrentState(), State::Checked);
    button_->SetDisabledLook(true);
    EXPECT_EQ(button_->CurrentState(), State::Disabled);
}

TEST_F(ButtonFixture, CheckedWithoutAlternatePictureDrawsTheStandardOne)
{
    CGdipButton plain(QStringLiteral("OK"), &window_);
    ASSERT_TRUE(plain.LoadStdImage(413));
    EXPECT_FALSE(plain.HasAltImage());
    plain.SetChecked(true);
    EXPECT_TRUE(plain.IsChecked());
    EXPECT_EQ(plain.CurrentState(), State::Normal);
}

TEST_F(ButtonFixture, ToggleButtonFlipsOncePerPressAndDrawsTheNewStateWhilePressed)
{
    button_->SetToggle(true);
    QTest::mousePress(button_, Qt::LeftButton, Qt::NoModifier, Centre());
    EXPECT_TRUE(button_->IsChecked());
    EXPECT_EQ(button_->CurrentState(), State::CheckedPressed);
    button_->repaint(); // redrawing while held must not flip it again
    button_->repaint();
    EXPECT_TRUE(button_->IsChecked());
    QTest::mouseRelease(button_, Qt::LeftButton, Qt::NoModifier, Centre());
    EXPECT_TRUE(button_->IsChecked());
    QTest::mouseClick(button_, Qt::LeftButton, Qt::NoModifier, Centre());
    EXPECT_FALSE(button_->IsChecked());
    EXPECT_EQ(clicks_->count(), 2);
}

TEST_F(ButtonFixture, SpaceKeyIsAPressToo)
{
    button_->SetToggle(true);
    button_->setFocus();
    QTest::keyClick(button_, Qt::Key_Space);
    EXPECT_TRUE(button_->IsChecked());
    EXPECT_EQ(clicks_->count(), 1);
}

TEST_F(ButtonFixture, PlainButtonKeepsItsCheckedFlagOnClicks)
{
    button_->SetChecked(true);
    QTest::mouseClick(button_, Qt::LeftButton, Qt::NoModifier, Centre());
    EXPECT_TRUE(button_->IsChecked());
    EXPECT_EQ(clicks_->count(), 1);
}

TEST_F(ButtonFixture, DoubleClickIsASecondPress)
{
    button_->SetToggle(true);
    // What the platform delivers for two quick clicks: press, release, double click, release.
    const QPoint at = Centre();
    const QPointF global = button_->mapToGlobal(QPointF(at));
    const auto send = [&](QEvent::Type type, Qt::MouseButtons buttons) {
        QMouseEvent event(type, QPointF(at), global, Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(button_, &event);
    };
    send(QEvent::MouseButtonPress, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, Qt::NoButton);
    send(QEvent::MouseButtonDblClick, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, Qt::NoButton);
    EXPECT_EQ(clicks_->count(), 2);
    EXPECT_FALSE(button_->IsChecked()); // flipped twice
}

TEST_F(ButtonFixture, StatePicturesAreBuiltOnceForManyDrawings)
{
    button_->repaint();
    const int built = button_->StatePictureBuildCount();
    EXPECT_GE(built, 1);
    QTest::mousePress(button_, Qt::LeftButton, Qt::NoModifier, Centre());
    button_->repaint();
    QTest::mouseRelease(button_, Qt::LeftButton, Qt::NoModifier, Centre());
    button_->SetChecked(true);
    button_->repaint();
    button_->SetDisabledLook(true);
    button_->repaint();
    EXPECT_EQ(button_->StatePictureBuildCount(), built);
    // A new size needs new pictures.
    button_->resize(120, 30);
    button_->repaint();
    EXPECT_EQ(button_->StatePictureBuildCount(), built + 1);
}

TEST_F(ButtonFixture, HoverShowsTheTooltipAfterTheDelayAndLeavingHidesIt)
{
    EXPECT_EQ(button_->TooltipDelay(), 2000);
    button_->SetToolTipText(QStringLiteral("Front speakers"));
    button_->SetTooltipDelay(20);
    QEnterEvent enter(QPointF(Centre()), button_->mapToGlobal(QPointF(Centre())),
                      button_->mapToGlobal(QPointF(Centre())));
    QApplication::sendEvent(button_, &enter);
    EXPECT_TRUE(button_->IsHover());
    EXPECT_EQ(button_->CurrentState(), State::Hot);
    EXPECT_FALSE(QToolTip::isVisible()); // not before the delay
    EXPECT_TRUE(QTest::qWaitFor([] { return QToolTip::isVisible(); }, 2000));
    EXPECT_EQ(QToolTip::text(), QStringLiteral("Front speakers"));

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(button_, &leave);
    EXPECT_FALSE(button_->IsHover());
    EXPECT_EQ(button_->CurrentState(), State::Normal);
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000));
}

TEST_F(ButtonFixture, LeavingBeforeTheDelayShowsNoTooltip)
{
    QToolTip::hideText();
    button_->SetToolTipText(QStringLiteral("Sub"));
    button_->SetTooltipDelay(30);
    QEnterEvent enter(QPointF(Centre()), button_->mapToGlobal(QPointF(Centre())),
                      button_->mapToGlobal(QPointF(Centre())));
    QApplication::sendEvent(button_, &enter);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(button_, &leave);
    QTest::qWait(80);
    EXPECT_FALSE(QToolTip::isVisible() && QToolTip::text() == QStringLiteral("Sub"));
}

TEST(CGdipButtonPictures, MissingPicturesFailQuietlyAndTheButtonStillDraws)
{
    CGdipButton button(QStringLiteral("OK"));
    EXPECT_FALSE(button.LoadStdImage(9999));
    EXPECT_FALSE(button.LoadAltImage(9998));
    EXPECT_FALSE(button.HasAltImage());
    button.resize(80, 24);
    EXPECT_FALSE(button.grab().isNull());
    EXPECT_EQ(button.StatePictureBuildCount(), 1);
}

TEST(CGdipButtonPictures, CaptionFontAndColourStartAsTheProgramWantsThem)
{
    CGdipButton button;
    EXPECT_EQ(button.TextColor(), QColor(0, 0, 0));
    EXPECT_EQ(button.font().pixelSize(), 12);
    EXPECT_TRUE(button.font().families().contains(QStringLiteral("宋体")));
}

} // namespace
