// The ribbon's master controls: both copies, the store, the exact writes, limits, notices,
// keys, the step click and the wheel.
#include "AppFixture.h"
#include "app/CInfoDlg.h"
#include "app/CKW4620v13View.h"
#include "app/CRibbonBar.h"
#include "model/ParamStore.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QWheelEvent>

namespace {
struct SliderCase
{
    const char* name;
    int inputId;
    int outputId;
    int cell;
    int position;
    std::vector<ParamWrite> writes; // floats only need the first value and the count
};

// Drags a slider's thumb to a position, as the mouse would.
void Drag(QSlider* slider, int position)
{
    slider->setSliderDown(true);
    slider->setSliderPosition(position);
    slider->setSliderDown(false);
}

QSlider* SliderById(const CRibbonBar& ribbon, int id)
{
    auto* slider = qobject_cast<QSlider*>(ribbon.FindCommand(id));
    EXPECT_NE(slider, nullptr) << "no slider " << id;
    return slider;
}

void ExpectWrites(const std::vector<ParamWrite>& actual, const std::vector<ParamWrite>& expected)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(actual[i].block, expected[i].block);
        EXPECT_EQ(actual[i].param, expected[i].param);
        EXPECT_EQ(actual[i].count, expected[i].count);
        if (!expected[i].floats.empty()) {
            for (float v : actual[i].floats) {
                EXPECT_FLOAT_EQ(v, expected[i].floats[0]);
            }
        } else {
            EXPECT_EQ(actual[i].firstWord, expected[i].firstWord);
        }
    }
}

ParamWrite F(int block, int param, int count, float value)
{
    return ParamWrite{block, param, count, {value}, 0};
}

ParamWrite I(int block, int param, uint32_t word)
{
    return ParamWrite{block, param, 1, {}, word};
}
} // namespace

class MasterSliders : public AppFixture
{
};

TEST_F(MasterSliders, MoveOnEitherCategory_MovesOtherCopyStoresAndWritesExactly)
{
    const std::vector<SliderCase> cases = {
        {"mic", 32829, 32858, PRM_MIC_VOL, 37, {F(1, 0x14, 1, 0.37f), F(1, 0x21, 1, 0.37f)}},
        {"reverb", 32830, 32861, PRM_REVERB_VOL, 12, {F(3, 0x1A, 2, 0.12f)}},
        {"echo", 32806, 32864, PRM_ECHO_VOL, 99, {F(2, 0x1C, 2, 0.99f)}},
        {"music", 32831, 32867, PRM_MUSIC_VOL, 64, {F(4, 0x0B, 6, 0.64f)}},
        {"spdif", 32851, 32870, PRM_SPDIF_GAIN, 100, {F(4, 0x0C, 2, 1.0f)}},
        {"aux1", 32852, 32873, PRM_AUX1_GAIN, 55, {F(4, 0x0D, 2, 0.55f)}},
        {"aux2", 32853, 32876, PRM_AUX2_GAIN, 3, {F(4, 0x0E, 2, 0.03f)}},
        {"noise gate", 32846, 32879, PRM_MUSIC_NG_THRESHOLD, 42, {F(4, 0x18, 1, 0.0042f)}},
        {"pitch", 32841, 32880, PRM_MUSIC_PITCH, 4, {I(4, 0x13, 9)}},
    };
    for (const SliderCase& c : cases) {
        for (int category : {CRibbonBar::Input, CRibbonBar::Output}) {
            SCOPED_TRACE(std::string(c.name) + (category ? " output" : " input"));
            Ribbon().SelectCategory(category);
            TakeWrites();
            const int movedId = category == CRibbonBar::Input ? c.inputId : c.outputId;
            const int otherId = category == CRibbonBar::Input ? c.outputId : c.inputId;
            const int position = category == CRibbonBar::Input ? c.position : c.position - 1;
            Drag(SliderById(Ribbon(), movedId), position);
            EXPECT_EQ(SliderById(Ribbon(), otherId)->value(), position);
            EXPECT_EQ(ParamStore.GetInt(c.cell), position);
            std::vector<ParamWrite> expected = c.writes;
            for (auto& w : expected) {
                if (!w.floats.empty()) {
                    w.floats[0] = c.cell == PRM_MUSIC_NG_THRESHOLD
                                      ? static_cast<float>(position) / 10000.0f
                                      : static_cast<float>(position) / 100.0f;
                } else {
                    w.firstWord = static_cast<uint32_t>(position + 5);
                }
            }
            ExpectWrites(TakeWrites(), expected);
        }
    }
}

TEST_F(MasterSliders, MicAboveMachineMaximum_ShowsNoticeAndHoldsBothCopiesAtMaximum)
{
    session_->micMax = 80;
    Drag(SliderById(Ribbon(), 32829), 95);
    EXPECT_TRUE(InfoVisible());
    EXPECT_EQ(InfoText(), QString("不能超过最大话筒音量!"));
    EXPECT_EQ(SliderById(Ribbon(), 32829)->value(), 80);
    EXPECT_EQ(SliderById(Ribbon(), 32858)->value(), 80);
    EXPECT_EQ(ParamStore.GetInt(PRM_MIC_VOL), 80);
    ExpectWrites(TakeWrites(), {F(1, 0x14, 1, 0.8f), F(1, 0x21, 1, 0.8f)});
    EXPECT_EQ(qobject_cast<QLabel*>(Ribbon().FindCommand(32857))->text(), QString("话筒音量: 80"));
}

TEST_F(MasterSliders, MusicAboveMachineMaximum_IsHeldToo)
{
    session_->musicMax = 60;
    SetLanguage(1);
    Drag(SliderById(Ribbon(), 32831), 70);
    EXPECT_EQ(ParamStore.GetInt(PRM_MUSIC_VOL), 60);
    EXPECT_EQ(InfoText(), QString("Music vol can't over max value!"));
    ExpectWrites(TakeWrites(), {F(4, 0x0B, 6, 0.6f)});
}

TEST_F(MasterSliders, VolumeMovedWhileMuted_WarnsAndStillWrites)
{
    ParamStore.SetInt(PRM_ECHO_MUTE, 1);
    Drag(SliderById(Ribbon(), 32806), 20);
    EXPECT_EQ(InfoText(), QString("当前是静音状态"));
    ExpectWrites(TakeWrites(), {F(2, 0x1C, 2, 0.2f)});
}

TEST_F(MasterSliders, InputLevelMovedWhileInputOff_WarnsAndStillWrites)
{
    SetLanguage(1);
    // Only Aux1 on.
    qobject_cast<QCheckBox*>(Ribbon().FindCommand(32844))->click();
    EXPECT_EQ(ParamStore.GetInt(PRM_AUX1_ON), 100);
    EXPECT_TRUE(qobject_cast<QCheckBox*>(Ribbon().FindCommand(32874))->isChecked());
    ExpectWrites(TakeWrites(), {F(4, 0x16, 1, 1.0f)});

    Drag(SliderById(Ribbon(), 32851), 30);
    EXPECT_TRUE(InfoVisible());
    EXPECT_EQ(InfoText(), QString("Inactive Input"));
    ExpectWrites(TakeWrites(), {F(4, 0x0C, 2, 0.3f)});
    EXPECT_EQ(qobject_cast<QLabel*>(Ribbon().FindCommand(32869))->text(), QString("Input Vol: 30"));

    // Aux1 itself is on: no notice.
    View().InfoDlg()->hide();
    Drag(SliderById(Ribbon(), 32852), 31);
    EXPECT_FALSE(InfoVisible());
}

TEST_F(MasterSliders, PitchMinusThree_CaptionsAndWritesTwo)
{
    Drag(SliderById(Ribbon(), 32841), -3);
    const auto& input = Ribbon().Copy(CRibbonBar::Input);
    const auto& output = Ribbon().Copy(CRibbonBar::Output);
    EXPECT_EQ(input.panels[5]->Caption()->text(), QString("音乐变调:-3"));
    EXPECT_EQ(output.pitchSlider->value(), -3);
    ExpectWrites(TakeWrites(), {I(4, 0x13, 2)});
    SetLanguage(1);
    EXPECT_EQ(output.panels[5]->Caption()->text(), QString("Music Pitch:-3"));
    Drag(SliderById(Ribbon(), 32880), 0);
    EXPECT_EQ(input.panels[5]->Caption()->text(), QString("Music Pitch:+0"));
}

TEST_F(MasterSliders, TrackClick_MovesExactlyOneUnitTowardsTheClick)
{
    QSlider* slider = SliderById(Ribbon(), 32829);
    Drag(slider, 50);
    TakeWrites();
    frame_->resize(1280, 800);
    QApplication::processEvents();
    QTest::mouseClick(slider, Qt::LeftButton, {},
                      QPoint(slider->width() - 3, slider->height() / 2));
    EXPECT_EQ(slider->value(), 51);
    EXPECT_EQ(SliderById(Ribbon(), 32858)->value(), 51);
    QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(2, slider->height() / 2));
    EXPECT_EQ(slider->value(), 50);
    ExpectWrites(TakeWrites(), {F(1, 0x14, 1, 0.51f), F(1, 0x21, 1, 0.51f), F(1, 0x14, 1, 0.50f),
                                F(1, 0x21, 1, 0.50f)});
}

TEST_F(MasterSliders, Wheel_TurnsTheControlUnderTheCursorOnly)
{
    frame_->resize(1280, 800);
    QApplication::processEvents();
    const auto wheel = [this](QWidget* over, int delta) {
        const QPoint at = over->mapTo(&Ribbon(), over->rect().center());
        QWheelEvent event(at, Ribbon().mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&Ribbon(), &event);
    };
    const auto& copy = Ribbon().Copy(CRibbonBar::Input);
    // Anywhere over the reverb panel, even its caption.
    wheel(copy.panels[1]->Caption(), 120);
    EXPECT_EQ(ParamStore.GetInt(PRM_REVERB_VOL), 1);
    wheel(copy.pitchSlider, -120);
    EXPECT_EQ(ParamStore.GetInt(PRM_MUSIC_PITCH), -1);
    wheel(copy.inputSlider[2], 120);
    EXPECT_EQ(ParamStore.GetInt(PRM_AUX2_GAIN), 1);
    ExpectWrites(TakeWrites(), {F(3, 0x1A, 2, 0.01f), I(4, 0x13, 4), F(4, 0x0E, 2, 0.01f)});
    // The load panel turns nothing.
    wheel(copy.panels[6], 120);
    EXPECT_TRUE(TakeWrites().empty());
}

class MasterKeys : public AppFixture
{
};

TEST_F(MasterKeys, WFiveTimesFromForty_Gives45_50_52_54_56)
{
    ParamStore.SetInt(PRM_MIC_VOL, 40);
    std::vector<int> seen;
    for (int i = 0; i < 5; ++i) {
        QTest::keyClick(frame_.get(), Qt::Key_W);
        seen.push_back(ParamStore.GetInt(PRM_MIC_VOL));
    }
    EXPECT_EQ(seen, (std::vector<int>{45, 50, 52, 54, 56}));
    EXPECT_EQ(SliderById(Ribbon(), 32829)->value(), 56);
    EXPECT_EQ(SliderById(Ribbon(), 32858)->value(), 56);
    // One pair of mic writes per key press, not one per widget the key passes.
    EXPECT_EQ(TakeWrites().size(), 10u);
}

TEST_F(MasterKeys, StepsFollowTheStoredValueAndCtrl)
{
    struct Case
    {
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        int cell;
        int from;
        int to;
    };
    const std::vector<Case> cases = {
        {Qt::Key_Q, {}, PRM_MUSIC_VOL, 98, 99},
        {Qt::Key_A, {}, PRM_MUSIC_VOL, 50, 48},
        {Qt::Key_A, {}, PRM_MUSIC_VOL, 3, 0},
        {Qt::Key_E, {}, PRM_ECHO_VOL, 49, 54},
        {Qt::Key_D, Qt::ControlModifier, PRM_ECHO_VOL, 49, 48},
        {Qt::Key_R, Qt::ControlModifier, PRM_REVERB_VOL, 10, 11},
        {Qt::Key_F, {}, PRM_REVERB_VOL, 60, 58},
        {Qt::Key_S, Qt::ControlModifier, PRM_MIC_VOL, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QTest::toString(QKeySequence(c.key)));
        ParamStore.SetInt(c.cell, c.from);
        QTest::keyClick(frame_.get(), c.key, c.mods);
        EXPECT_EQ(ParamStore.GetInt(c.cell), c.to);
    }
}

TEST_F(MasterKeys, CtrlSAtZero_StaysZeroAndAsksToSave)
{
    QTest::keyClick(frame_.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(ParamStore.GetInt(PRM_MIC_VOL), 0);
    EXPECT_EQ(SliderById(Ribbon(), 32829)->value(), 0);
    EXPECT_EQ(session_->calls, (std::vector<std::string>{"save file"}));
}

TEST_F(MasterKeys, MuteLetters_ToggleAndAnnounceOnlyGoingOn)
{
    SetLanguage(1);
    struct Case
    {
        Qt::Key key;
        int cell;
        int muteId;
        const char* notice;
    };
    const std::vector<Case> cases = {{Qt::Key_X, PRM_MIC_MUTE, 32859, "Mic Muted"},
                                     {Qt::Key_Z, PRM_MUSIC_MUTE, 32868, "Music Muted"},
                                     {Qt::Key_C, PRM_ECHO_MUTE, 32865, "Echo muted"},
                                     {Qt::Key_V, PRM_REVERB_MUTE, 32862, "Reverb muted"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.notice);
        View().InfoDlg()->hide();
        QTest::keyClick(frame_.get(), c.key);
        EXPECT_EQ(ParamStore.GetInt(c.cell), 1);
        EXPECT_TRUE(qobject_cast<QCheckBox*>(Ribbon().FindCommand(c.muteId))->isChecked());
        EXPECT_EQ(InfoText(), QString(c.notice));
        View().InfoDlg()->hide();
        QTest::keyClick(frame_.get(), c.key);
        EXPECT_EQ(ParamStore.GetInt(c.cell), 0);
        EXPECT_FALSE(InfoVisible());
    }
}

TEST_F(MasterKeys, MusicUnmute_FadesInWithTenWritesEndingAtOne)
{
    qobject_cast<QCheckBox*>(Ribbon().FindCommand(32850))->click();
    ExpectWrites(TakeWrites(), {F(4, 0x0F, 2, 0.0f)});
    pauses_.clear();
    qobject_cast<QCheckBox*>(Ribbon().FindCommand(32868))->click();
    const auto writes = TakeWrites();
    ASSERT_EQ(writes.size(), 10u);
    for (size_t i = 0; i < writes.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(writes[i].block, 4);
        EXPECT_EQ(writes[i].param, 0x0F);
        ASSERT_EQ(writes[i].floats.size(), 2u);
        const float expected = i == 9 ? 1.0f : static_cast<float>(i) / 10.0f;
        EXPECT_FLOAT_EQ(writes[i].floats[0], expected);
        EXPECT_FLOAT_EQ(writes[i].floats[1], expected);
    }
    EXPECT_EQ(pauses_, std::vector<int>(9, 30));
    EXPECT_EQ(ParamStore.GetInt(PRM_MUSIC_MUTE), 0);
    EXPECT_FALSE(qobject_cast<QCheckBox*>(Ribbon().FindCommand(32850))->isChecked());
}

TEST_F(MasterKeys, OtherMutesAndInputBoxes_WritePassValues)
{
    const auto click = [this](int id) {
        qobject_cast<QCheckBox*>(Ribbon().FindCommand(id))->click();
    };
    click(32847);
    ExpectWrites(TakeWrites(), {F(1, 0x20, 1, 0.0f), F(1, 0x2D, 1, 0.0f)});
    click(32859);
    ExpectWrites(TakeWrites(), {F(1, 0x20, 1, 1.0f), F(1, 0x2D, 1, 1.0f)});
    click(32848);
    ExpectWrites(TakeWrites(), {F(3, 0x1B, 2, 0.0f)});
    click(32865);
    ExpectWrites(TakeWrites(), {F(2, 0x1D, 2, 0.0f)});
    click(32877);
    EXPECT_EQ(ParamStore.GetInt(PRM_AUX2_ON), 100);
    ExpectWrites(TakeWrites(), {F(4, 0x17, 1, 1.0f)});
    click(32845);
    EXPECT_EQ(ParamStore.GetInt(PRM_AUX2_ON), 0);
    ExpectWrites(TakeWrites(), {F(4, 0x17, 1, 0.0f)});
}

TEST_F(MasterKeys, TypingIntoATextField_TurnsNoVolume)
{
    auto* edit = new QLineEdit(View().Host()->Page());
    edit->show();
    edit->setFocus();
    QApplication::setActiveWindow(frame_.get());
    QTest::keyClick(edit, Qt::Key_W);
    EXPECT_EQ(ParamStore.GetInt(PRM_MIC_VOL), 0);
    EXPECT_EQ(edit->text(), QString("w"));
}

TEST_F(MasterKeys, KeyFromThePlatform_StepsOnceThoughItPassesWindowAndWidgets)
{
    ParamStore.SetInt(PRM_MIC_VOL, 40);
    frame_->activateWindow();
    QApplication::setActiveWindow(frame_.get());
    Ribbon().FindCommand(32847)->setFocusPolicy(Qt::StrongFocus);
    Ribbon().FindCommand(32847)->setFocus();
    ASSERT_NE(frame_->windowHandle(), nullptr);
    QTest::keyClick(frame_->windowHandle(), Qt::Key_W);
    EXPECT_EQ(ParamStore.GetInt(PRM_MIC_VOL), 45);
    QTest::keyClick(frame_->windowHandle(), Qt::Key_W);
    EXPECT_EQ(ParamStore.GetInt(PRM_MIC_VOL), 50);
}
