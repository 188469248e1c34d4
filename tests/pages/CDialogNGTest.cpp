#include "pages/CDialogNG.h"

#include "app/AppFixture.h"
#include "app/CKW4620v13View.h"
#include "app/CMainFrame.h"
#include "controls/CXBmpSlider.h"
#include "model/ParamIds.h"
#include "model/ParamStore.h"
#include "pages/PagesFixture.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QTest>
#include <QTimer>

namespace {
using NoiseGateTest = PagesFixture;

// Moves slider `s` to `target` with one arrow key from the neighbouring position.
void MoveTo(CXBmpSlider* s, int target)
{
    const bool up = target > s->GetRangeMin();
    s->SetPos(up ? target - 1 : target + 1);
    s->setFocus();
    QTest::keyClick(s, up ? Qt::Key_Right : Qt::Key_Left);
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents();
    }
}

TEST_F(NoiseGateTest, SlidersStoreTheirMirrorAndSendDividedTimes)
{
    struct Case
    {
        int slider;
        int position;
        int cell;
        int block;
        int param;
        float sent;
    };
    const Case cases[] = {
        {0, 100, PRM_MIC_NG_ATTACK, 1, 54, 0.00001f},
        {0, 1, PRM_MIC_NG_ATTACK, 1, 54, 0.001f},
        {1, 51, PRM_MIC_NG_RELEASE, 1, 55, 0.000005f},
        {2, 60, PRM_MUSIC_NG_ATTACK, 4, 25, 0.00041f},
        {3, 51, PRM_MUSIC_NG_RELEASE, 4, 26, 0.000005f},
    };
    CDialogNG dialog(&shell_);
    dialog.show();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "slider " << c.slider << " at " << c.position);
        TakeWrites();
        MoveTo(dialog.Slider(c.slider), c.position);
        EXPECT_EQ(ParamStore.GetInt(c.cell), 101 - c.position);
        const auto writes = TakeWrites();
        const ParamWrite* w = Find(writes, c.block, c.param);
        ASSERT_NE(w, nullptr);
        EXPECT_FLOAT_EQ(w->floats.at(0), c.sent);
        EXPECT_EQ(dialog.Readout(c.slider)->text(), QString::number(c.position));
    }
}

TEST_F(NoiseGateTest, Opening_PlacesSlidersAt101MinusTheCell)
{
    ParamStore.SetInt(PRM_MIC_NG_ATTACK, 30);
    ParamStore.SetInt(PRM_MIC_NG_RELEASE, 0); // fresh start
    ParamStore.SetInt(PRM_MUSIC_NG_ATTACK, 250);
    ParamStore.SetInt(PRM_MUSIC_NG_RELEASE, 100);
    CDialogNG dialog(&shell_);
    EXPECT_EQ(dialog.Slider(0)->GetPos(), 71);
    EXPECT_EQ(dialog.Readout(0)->text(), "71");
    EXPECT_EQ(dialog.Slider(1)->GetPos(), 100);
    EXPECT_EQ(dialog.Readout(1)->text(), "101");
    EXPECT_EQ(dialog.Slider(2)->GetPos(), 1);
    EXPECT_EQ(dialog.Readout(2)->text(), "-149");
    EXPECT_EQ(dialog.Slider(3)->GetPos(), 1);
}

TEST_F(NoiseGateTest, Texts_ComeFromTheTable)
{
    SetLanguage(1);
    CDialogNG dialog(&shell_);
    EXPECT_EQ(dialog.windowTitle(), "Noise gate setting");
    EXPECT_EQ(dialog.OkButton()->text(), "OK");
    EXPECT_EQ(dialog.CancelButton()->text(), "Cancel");
    SetLanguage(0);
    dialog.Relabel();
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("噪声门设置"));
    EXPECT_EQ(dialog.CancelButton()->text(), QString::fromUtf8("取消"));
}

TEST_F(NoiseGateTest, Wheel_GoesToTheFocusedSlider)
{
    CDialogNG dialog(&shell_);
    dialog.show();
    dialog.Slider(2)->SetPos(40);
    dialog.Slider(2)->setFocus();
    QTest::qWait(1);
    QWidget* over = dialog.Readout(0);
    const QPoint at = over->rect().center();
    QWheelEvent up(at, over->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton,
                   Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(over, &up);
    QCoreApplication::processEvents();
    EXPECT_EQ(dialog.Slider(2)->GetPos(), 41);
    EXPECT_EQ(ParamStore.GetInt(PRM_MUSIC_NG_ATTACK), 60);
    EXPECT_EQ(dialog.Slider(0)->GetPos(), 100);
}

// The dialog opened from the main window's F6 key.
class NoiseGateKeyTest : public AppFixture
{
};

int OpenNoiseGateDialogs()
{
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (qobject_cast<CDialogNG*>(w) && w->isVisible()) {
            ++n;
        }
    }
    return n;
}

TEST_F(NoiseGateKeyTest, F6Twice_OpensOneDialog)
{
    session_->connected = true;
    int seenFirst = -1;
    int seenSecond = -1;
    QTimer::singleShot(0, [&] {
        seenFirst = OpenNoiseGateDialogs();
        QKeyEvent again(QEvent::KeyRelease, Qt::Key_F6, Qt::NoModifier);
        QApplication::sendEvent(frame_.get(), &again);
        seenSecond = OpenNoiseGateDialogs();
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* d = qobject_cast<CDialogNG*>(w)) {
                d->reject();
            }
        }
    });
    QKeyEvent f6(QEvent::KeyRelease, Qt::Key_F6, Qt::NoModifier);
    QApplication::sendEvent(frame_.get(), &f6);
    EXPECT_EQ(seenFirst, 1);
    EXPECT_EQ(seenSecond, 1);
    EXPECT_EQ(OpenNoiseGateDialogs(), 0);
}

TEST_F(NoiseGateKeyTest, F6WithoutProcessor_OpensNothing)
{
    session_->connected = false;
    bool opened = false;
    QTimer::singleShot(0, [&] { opened = OpenNoiseGateDialogs() > 0; });
    QKeyEvent f6(QEvent::KeyRelease, Qt::Key_F6, Qt::NoModifier);
    QApplication::sendEvent(frame_.get(), &f6);
    QCoreApplication::processEvents();
    EXPECT_FALSE(opened);
}
} // namespace
