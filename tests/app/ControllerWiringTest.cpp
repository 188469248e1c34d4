// The shell wired to the connection controller, against an emulated processor on the virtual
// bus through the real transport: start-up, synchronisation, the status line, the poll, a
// ribbon write, an F-key recall and the close prompt.
#include "app/AppFixture.h"
#include "app/AppSettings.h"
#include "app/AppText.h"
#include "app/CInfoDlg.h"
#include "app/CKW4620v13View.h"
#include "app/CMainFrame.h"
#include "app/CRibbonBar.h"
#include "app/ControllerSession.h"
#include "app/QtUiPort.h"
#include "app/WindowPause.h"
#include "dsp/Dynamics.h"
#include "files/FileMessages.h"
#include "files/ModeFile.h"
#include "link/LinkState.h"
#include "link/Protocol.h"
#include "link/UsbTransport.h"
#include "link/controller/VirtualBusWatcher.h"
#include "link/emulator/EmulatedProcessor.h"
#include "link/emulator/VirtualHidBus.h"
#include "model/ParamIds.h"
#include "model/ParamStore.h"
#include "support/OrdinaryUser.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <bit>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <vector>

using namespace std::chrono_literals;

namespace {
constexpr const char* kPath = "/dev/hidraw-dsp4620";
constexpr int kMicSliderId = 32829;    // the ribbon's mic volume on the input category
constexpr int kReverbSliderId = 32830; // and its reverb volume

void PutModeName(ProcessorState& state, int mode, const std::string& name)
{
    const size_t base = kModeNameSlotSize * static_cast<size_t>(mode);
    for (size_t i = 0; i < kModeNameSlotSize; ++i) {
        state.names[base + i] = 0;
    }
    for (size_t i = 0; i < name.size(); ++i) {
        state.names[base + 2 * i + 1] = static_cast<uint8_t>(name[i]);
    }
}
} // namespace

class ControllerWiring : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        ResetLinkState();
        g_bConnected = 0;
        g_bReadThreadEnd = 0;
        previousPause_ = SetPauseFunction([](int) {});
        // Commands without an answer hold the next write for the pacing time: short here.
        SetUsbTimings({20ms, 200ms});

        // A processor whose setting differs from the program's defaults where it is checked.
        ProcessorState state = ProcessorState::Factory();
        state.currentMode = 1;
        PutModeName(state, 1, "Party");
        const uint32_t mic = std::bit_cast<uint32_t>(0.55f);
        state.working.params.Write(1, 0x14, std::span<const uint32_t>(&mic, 1));
        state.working.params.Write(1, 0x21, std::span<const uint32_t>(&mic, 1));
        EmulatorOptions options;
        options.latency = 0ms;
        processor_ = std::make_shared<EmulatedProcessor>(options, state);
        bus_.AddInterface({kPath, 1, 0x2010, 0x1031, processor_, ""});
        SetUsbBackend(&bus_);

        settings_ = std::make_unique<AppSettings>(dir_.filePath("settings.ini"));
        SetAppLanguage(1);
        settings_->SetLanguage(1);
        ControllerOptions o = NoWaitControllerOptions();
        o.pauses = pauses_;
        o.pause = [this](std::chrono::milliseconds span) {
            if (pause_) {
                pause_(span);
            }
        };
        frame_ = MakeFrameOnVirtualBus(*settings_, bus_, o, &session_);
        frame_->View()->SetPause([](int) {});
        frame_->Ui().SetBoxHook([this](const QString& text, const QString&) {
            boxes_.push_back(text.toStdString());
            return answer_;
        });
        frame_->show();
    }

    void TearDown() override
    {
        frame_.reset();
        CloseUsbDevice(false);
        SetUsbBackend(nullptr);
        SetUsbTimings({});
        SetPauseFunction(previousPause_);
        SetAppLanguage(0);
    }

    bool WaitSettled(int syncs = 1)
    {
        return QTest::qWaitFor(
            [&] { return session_->Controller().SyncsHandled() >= syncs && session_->Settled(); },
            10000);
    }

    uint64_t Count(uint8_t command) const { return processor_->RequestCount(command); }

    QTemporaryDir dir_;
    VirtualHidBus bus_;
    std::shared_ptr<EmulatedProcessor> processor_;
    std::unique_ptr<AppSettings> settings_;
    std::unique_ptr<CMainFrame> frame_;
    ControllerSession* session_ = nullptr;
    std::vector<std::string> boxes_;
    UiAnswer answer_ = UiAnswer::Ok;
    PauseFunction previousPause_;
    // The controller's window-thread pauses: none by default.
    WindowPauses pauses_{0ms, 0ms, 0ms, 0ms};
    std::function<void(std::chrono::milliseconds)> pause_;
};

// The store pauses made as the program makes them, only shorter.
class ControllerWiringPaused : public ControllerWiring
{
protected:
    ControllerWiringPaused()
    {
        pauses_ = {0ms, 0ms, 120ms, 150ms};
        pause_ = PauseRepainting;
    }

    // What the window thread saw at a moment during a store.
    struct Probe
    {
        bool ran = false;
        uint64_t stores = 0;
        bool noticeShown = false;
        QString notice;
    };

    // Runs `probe` on a timer `after` from now: it only runs if the window thread keeps
    // taking events.
    void ProbeAt(std::chrono::milliseconds after, Probe& probe)
    {
        QTimer::singleShot(after, frame_.get(), [this, &probe] {
            probe.ran = true;
            probe.stores = Count(kCmdStoreMode);
            CInfoDlg* info = frame_->View()->InfoDlg();
            probe.noticeShown = info->isVisible();
            probe.notice = info->Text();
        });
    }
};

TEST_F(ControllerWiring, StartUp_ConnectsOnceSynchronisesShowsTheProcessorAndThenPolls)
{
    // Nothing is sent before the connect delay.
    EXPECT_EQ(processor_->TotalRequests(), 0u);
    ASSERT_TRUE(WaitSettled());
    // One connection: the two identification passes of one read synchronisation.
    EXPECT_EQ(Count(kCmdModel), 2u);
    EXPECT_EQ(session_->Controller().SyncsHandled(), 1);
    EXPECT_TRUE(session_->IsConnected());
    EXPECT_TRUE(boxes_.empty()) << boxes_.front();
    EXPECT_FALSE(frame_->Ui().SyncDialogOpen());

    // The status line and the ribbon show what the processor holds.
    frame_->UpdateStatus();
    EXPECT_EQ(frame_->Pane120()->text(), QString("USB:Connected"));
    EXPECT_EQ(frame_->Pane121()->text(), QString("Current Mode:Mode2[Party]"));
    auto* mic = qobject_cast<QSlider*>(frame_->Ribbon()->FindCommand(kMicSliderId));
    ASSERT_NE(mic, nullptr);
    EXPECT_EQ(mic->value(), 55);

    // No poll went out during the synchronisation; afterwards one every 300 ms.
    EXPECT_EQ(Count(kCmdStatus), 0u);
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Count(kCmdStatus) >= 3; }, 5000));
    EXPECT_GE(clock.elapsed(), 3 * 300 - 50);
    // Still the one connection.
    EXPECT_EQ(Count(kCmdModel), 2u);
}

TEST_F(ControllerWiring, RibbonSliderMove_ReachesTheEmulatedProcessor)
{
    ASSERT_TRUE(WaitSettled());
    auto* mic = qobject_cast<QSlider*>(frame_->Ribbon()->FindCommand(kMicSliderId));
    ASSERT_NE(mic, nullptr);
    mic->setSliderDown(true);
    mic->setSliderPosition(37);
    mic->setSliderDown(false);
    const uint32_t expected = std::bit_cast<uint32_t>(0.37f);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return processor_->State().working.params.Word(1, 0x14) == expected; }, 3000));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return processor_->State().working.params.Word(1, 0x21) == expected; }, 3000));
}

TEST_F(ControllerWiring, F1_RecallsTheModeWithAReadSynchronisation)
{
    ASSERT_TRUE(WaitSettled());
    QTest::keyClick(frame_.get(), Qt::Key_F1);
    // The wait dialog is shown until the end of the read is handled on the window thread;
    // meanwhile no other F-key is taken.
    EXPECT_TRUE(session_->SyncDialogShown());
    EXPECT_TRUE(frame_->Ui().SyncDialogOpen());
    QTest::keyClick(frame_.get(), Qt::Key_F3);
    ASSERT_TRUE(WaitSettled(2));
    EXPECT_FALSE(frame_->Ui().SyncDialogOpen());
    EXPECT_EQ(Count(kCmdLoadMode), 1u);
    EXPECT_EQ(Count(kCmdModel), 4u);
    EXPECT_EQ(processor_->State().currentMode, 0);
    frame_->UpdateStatus();
    EXPECT_EQ(frame_->Pane121()->text(), QString("Current Mode:Mode1[User 1]"));
    EXPECT_TRUE(session_->AcceptsModeKeys());
}

TEST_F(ControllerWiring, ClosePromptCancel_KeepsTheLinkOpen)
{
    ASSERT_TRUE(WaitSettled());
    // A change on the processor's front panel marks the setting as changed.
    processor_->PanelChange(1, 0x14);
    ASSERT_TRUE(QTest::qWaitFor([] { return g_bParamChanged.load() != 0; }, 3000));

    answer_ = UiAnswer::Cancel;
    EXPECT_FALSE(frame_->close());
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_TRUE(frame_->isVisible());
    EXPECT_TRUE(session_->IsConnected());
    EXPECT_EQ(Count(kCmdFarewell), 0u);
    // The poll goes on.
    const uint64_t polls = Count(kCmdStatus);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Count(kCmdStatus) > polls; }, 3000));

    // No: the program closes with the farewell.
    answer_ = UiAnswer::No;
    EXPECT_TRUE(frame_->close());
    EXPECT_FALSE(session_->IsConnected());
    EXPECT_TRUE(QTest::qWaitFor([&] { return Count(kCmdFarewell) == 1u; }, 3000));
}

TEST_F(ControllerWiring, OpenedModeFile_IsPushedToTheProcessorUnderTheWaitDialog)
{
    ASSERT_TRUE(WaitSettled());
    ParamStore.SetInt(PRM_REVERB_VOL, 42);
    ParamStore.SetInt(PRM_MIC_VOL, 42);
    const QString file = dir_.filePath("party.W6v9");
    ASSERT_TRUE(WriteModeFile(file.toStdString(), ModeFileDeviceInfo{}).Ok());
    ParamStore.SetInt(PRM_REVERB_VOL, 60);
    ParamStore.SetInt(PRM_MIC_VOL, 55);

    frame_->Session().OpenDocument(file.toStdString());
    EXPECT_TRUE(session_->SyncDialogShown());
    ASSERT_TRUE(WaitSettled(2));
    EXPECT_TRUE(boxes_.empty()) << boxes_.front();
    // The push carries the reverb volume (both words) ...
    const uint32_t reverb = std::bit_cast<uint32_t>(0.42f);
    EXPECT_EQ(processor_->State().working.params.Word(3, 0x1A, 0), reverb);
    EXPECT_EQ(processor_->State().working.params.Word(3, 0x1A, 1), reverb);
    auto* reverbSlider = qobject_cast<QSlider*>(frame_->Ribbon()->FindCommand(kReverbSliderId));
    ASSERT_NE(reverbSlider, nullptr);
    EXPECT_EQ(reverbSlider->value(), 42);
    // ... but not the mic volume: it is read back, so the processor's stays.
    EXPECT_EQ(ParamStore.GetInt(PRM_MIC_VOL), 55);
    auto* mic = qobject_cast<QSlider*>(frame_->Ribbon()->FindCommand(kMicSliderId));
    ASSERT_NE(mic, nullptr);
    EXPECT_EQ(mic->value(), 55);
}

TEST_F(ControllerWiring, PulledOutAndPluggedIn_TheStatusLineFollowsAndTheProcessorIsReadAgain)
{
    ASSERT_TRUE(WaitSettled());
    ASSERT_NE(session_->Watcher(), nullptr);
    EXPECT_STREQ(session_->Watcher()->Kind(), "virtual bus");

    ASSERT_TRUE(bus_.Unplug(kPath));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !session_->IsConnected(); }, 3000));
    frame_->UpdateStatus();
    EXPECT_EQ(frame_->Pane120()->text(), QString("USB:Disconnected"));

    ASSERT_TRUE(bus_.Plug(kPath));
    ASSERT_TRUE(WaitSettled(2));
    EXPECT_TRUE(session_->IsConnected());
    EXPECT_EQ(Count(kCmdModel), 4u);
    frame_->UpdateStatus();
    EXPECT_EQ(frame_->Pane120()->text(), QString("USB:Connected"));
    EXPECT_TRUE(boxes_.empty()) << boxes_.front();
}

namespace {
struct Box
{
    std::string caption;
    std::string text;
};

// Answers the next file dialog with `path`, as a user typing the name and pressing Open or
// Save (an overwrite is confirmed).
void AnswerFileDialog(const QString& path)
{
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, path] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            return;
        }
        // The dialog lists its folder in the background and may put its default name back:
        // accept only once the selection is the file asked for.
        // The dialog lists its folder in the background and may put its default name back:
        // the name is typed into its name box until the selection is the file asked for.
        if (dialog->selectedFiles().value(0) != path) {
            dialog->setDirectory(QFileInfo(path).path());
            if (auto* name = dialog->findChild<QLineEdit*>("fileNameEdit")) {
                name->setText(QFileInfo(path).fileName());
            }
            return;
        }
        timer->stop();
        timer->deleteLater();
        dialog->setOption(QFileDialog::DontConfirmOverwrite);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    timer->start(10);
}
} // namespace

class ShellFileBoxes : public ControllerWiring
{
protected:
    void SetUp() override
    {
        ControllerWiring::SetUp();
        frame_->Ui().SetBoxHook([this](const QString& text, const QString& caption) {
            shown_.push_back({caption.toStdString(), text.toStdString()});
            return UiAnswer::Ok;
        });
        // The ordinary user may look into the test's folder.
        ASSERT_EQ(::chmod(QFile::encodeName(dir_.path()).constData(), 0755), 0);
    }

    // A ribbon command clicked by a user who is not the superuser.
    void ClickAsOrdinaryUser(int command, const QString& answer)
    {
        auto* button = qobject_cast<QToolButton*>(frame_->Ribbon()->FindCommand(command));
        ASSERT_NE(button, nullptr);
        AsOrdinaryUser user;
        ASSERT_NE(AsOrdinaryUser::CurrentFsUser(), 0u);
        AnswerFileDialog(answer);
        button->click();
    }

    static std::vector<uint8_t> Bytes(const QString& path)
    {
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
        const QByteArray b = f.readAll();
        return std::vector<uint8_t>(b.begin(), b.end());
    }
    static void Put(const QString& path, const std::vector<uint8_t>& bytes, int mode)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
        f.close();
        ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), static_cast<mode_t>(mode)), 0);
    }
    static std::vector<uint32_t> Cells()
    {
        std::vector<uint32_t> cells;
        for (int c = kFirstCell; c <= kLastCell; ++c) {
            cells.push_back(ParamStore.GetBits(c));
        }
        return cells;
    }

    std::vector<Box> shown_;
};

constexpr int kLoadCommand = 32827;
constexpr int kSaveCommand = 32828;

TEST_F(ShellFileBoxes, SavingIntoAWriteProtectedFolderOrFile_ShowsTheWriteBox)
{
    ASSERT_TRUE(WaitSettled());
    const QString locked = dir_.filePath("locked");
    ASSERT_TRUE(QDir().mkdir(locked));
    ASSERT_EQ(::chmod(QFile::encodeName(locked).constData(), 0555), 0);
    const QString open = dir_.filePath("open");
    ASSERT_TRUE(QDir().mkdir(open));
    ASSERT_EQ(::chmod(QFile::encodeName(open).constData(), 0777), 0);
    const std::vector<uint8_t> old(kModeFileSize, 0x42);
    const QString protectedFile = open + "/protected.W6v9";
    Put(protectedFile, old, 0444);

    for (const QString& target : {locked + "/party.W6v9", protectedFile}) {
        shown_.clear();
        ClickAsOrdinaryUser(kSaveCommand, target);
        ASSERT_EQ(shown_.size(), 1u) << target.toStdString();
        EXPECT_EQ(shown_[0].caption, "Can't write to file");
        EXPECT_EQ(shown_[0].text, "Errcode=13,Can't write to file:\n" + target.toStdString() +
                                      "\nProbaby it is write protected.");
        EXPECT_FALSE(settings_->RecentFiles().contains(target));
    }
    EXPECT_FALSE(QFile::exists(locked + "/party.W6v9"));
    EXPECT_EQ(Bytes(protectedFile), old);

    // Where the user may write, the same click saves without a word.
    shown_.clear();
    ClickAsOrdinaryUser(kSaveCommand, open + "/fine.W6v9");
    EXPECT_TRUE(shown_.empty()) << shown_.front().text;
    EXPECT_EQ(Bytes(open + "/fine.W6v9").size(), kModeFileSize);
}

TEST_F(ShellFileBoxes, LoadingAFileTheUserMayNotRead_ShowsTheReadBoxAndChangesNothing)
{
    ASSERT_TRUE(WaitSettled());
    ParamStore.SetInt(PRM_REVERB_VOL, 42);
    const QString secret = dir_.filePath("secret.W6v9");
    ASSERT_TRUE(WriteModeFile(secret.toStdString(), ModeFileDeviceInfo{}).Ok());
    ASSERT_EQ(::chmod(QFile::encodeName(secret).constData(), 0600), 0);
    ParamStore.SetInt(PRM_REVERB_VOL, 60);
    const std::vector<uint32_t> before = Cells();
    const uint64_t writes = Count(0x09);

    ClickAsOrdinaryUser(kLoadCommand, secret);
    ASSERT_EQ(shown_.size(), 1u);
    EXPECT_EQ(shown_[0].caption, "Can't read file");
    EXPECT_NE(shown_[0].text.find(secret.toStdString()), std::string::npos) << shown_[0].text;
    EXPECT_NE(shown_[0].text.find("Permission denied"), std::string::npos) << shown_[0].text;
    // Nothing loaded, nothing pushed.
    EXPECT_EQ(Cells(), before);
    EXPECT_FALSE(session_->SyncDialogShown());
    EXPECT_EQ(Count(0x09), writes);
    EXPECT_EQ(session_->Controller().SyncsHandled(), 1);
}

TEST_F(ShellFileBoxes, LoadingAFileThatIsNoModeFile_SaysWhichAndWhyAndChangesNothing)
{
    ASSERT_TRUE(WaitSettled());
    const std::vector<uint32_t> before = Cells();
    std::vector<uint8_t> version3 = BuildModeFile(ModeFileDeviceInfo{});
    version3[0] = 3;
    std::vector<uint8_t> shortFile(version3.begin(), version3.begin() + 9);
    shortFile[0] = 4;
    const struct
    {
        QString path;
        std::vector<uint8_t> bytes;
        std::string why;
    } cases[] = {
        {dir_.filePath("v3.W6v9"), version3, "unknown version 3"},
        {dir_.filePath("empty.W6v9"), {}, "The file is empty"},
        {dir_.filePath("short.W6v9"), shortFile, "incomplete"},
    };
    for (const auto& c : cases) {
        Put(c.path, c.bytes, 0644);
        shown_.clear();
        ClickAsOrdinaryUser(kLoadCommand, c.path);
        ASSERT_EQ(shown_.size(), 1u) << c.why;
        EXPECT_EQ(shown_[0].caption, "Can't read file");
        EXPECT_NE(shown_[0].text.find(c.path.toStdString()), std::string::npos) << shown_[0].text;
        EXPECT_NE(shown_[0].text.find(c.why), std::string::npos) << shown_[0].text;
        EXPECT_NE(shown_[0].text.find("Nothing was loaded."), std::string::npos);
    }
    EXPECT_EQ(Cells(), before);
    EXPECT_EQ(session_->Controller().SyncsHandled(), 1);
}

TEST_F(ShellFileBoxes, ADamagedFile_IsShownAndPushedLimitedAfterOneBox)
{
    ASSERT_TRUE(WaitSettled());
    std::vector<uint8_t> file = BuildModeFile(ModeFileDeviceInfo{});
    const auto putCell = [&file](int cell, int32_t v) {
        const auto u = static_cast<uint32_t>(v);
        for (size_t b = 0; b < 4; ++b) {
            file[4 + 4 * static_cast<size_t>(cell - kFirstCell) + b] =
                static_cast<uint8_t>(u >> (8 * b));
        }
    };
    putCell(PRM_REVERB_VOL, -1225543);
    putCell(PRM_MUSIC_PITCH, 1429353428);
    putCell(PRM_SPDIF_GAIN, 193662649);
    const QString damaged = dir_.filePath("damaged.W6v9");
    Put(damaged, file, 0644);

    ClickAsOrdinaryUser(kLoadCommand, damaged);
    ASSERT_TRUE(WaitSettled(2));
    ASSERT_EQ(shown_.size(), 1u);
    EXPECT_EQ(shown_[0].caption, OutOfRangeCaption());
    EXPECT_EQ(shown_[0].text, OutOfRangeText(3, damaged.toStdString()));
    EXPECT_EQ(shown_[0].text.rfind("3 values in the file were out of range", 0), 0u);

    // The ribbon and the processor have the limited values.
    auto* reverb = qobject_cast<QSlider*>(frame_->Ribbon()->FindCommand(kReverbSliderId));
    ASSERT_NE(reverb, nullptr);
    EXPECT_EQ(reverb->value(), 0);
    EXPECT_EQ(ParamStore.GetInt(PRM_MUSIC_PITCH), 5);
    EXPECT_EQ(ParamStore.GetInt(PRM_SPDIF_GAIN), 100);
    EXPECT_EQ(processor_->State().working.params.Word(3, 0x1A, 0), std::bit_cast<uint32_t>(0.0f));
    EXPECT_EQ(processor_->State().working.params.Word(4, 19), 10u);
    EXPECT_EQ(processor_->State().working.params.Word(4, 12), std::bit_cast<uint32_t>(1.0f));
}

TEST_F(ControllerWiringPaused, CtrlF2_StoresShowsTheNoticeAndKeepsTheWindowAliveDuringThePause)
{
    ASSERT_TRUE(WaitSettled());
    answer_ = UiAnswer::Yes;
    Probe early;
    Probe late;
    ProbeAt(20ms, early);
    ProbeAt(110ms, late);
    QElapsedTimer clock;
    clock.start();
    QTest::keyClick(frame_.get(), Qt::Key_F2, Qt::ControlModifier);
    const qint64 took = clock.elapsed();

    // The store went out first, then the notice, then the pause: the window took its timers
    // meanwhile, and the notice stayed up for the whole pause.
    ASSERT_TRUE(early.ran);
    ASSERT_TRUE(late.ran);
    EXPECT_EQ(early.stores, 1u);
    EXPECT_TRUE(early.noticeShown);
    EXPECT_EQ(early.notice, QString("Saving Mode 2 ……"));
    EXPECT_TRUE(late.noticeShown);
    EXPECT_GE(took, 150);
    EXPECT_EQ(boxes_, (std::vector<std::string>{"Save to machine mode 2?"}));
    EXPECT_EQ(processor_->State().currentMode, 1);
}

TEST_F(ControllerWiringPaused, MenuStore_WaitsWithTheWindowAliveBeforeTheNotice)
{
    ASSERT_TRUE(WaitSettled());
    answer_ = UiAnswer::Yes;
    Probe during;
    ProbeAt(40ms, during);
    emit frame_->Ribbon()->CommandTriggered(RibbonId::kSaveModeFirst + 2);

    // The store went out, then the pause (the window alive, no notice yet), then the notice.
    ASSERT_TRUE(during.ran);
    EXPECT_EQ(during.stores, 1u);
    EXPECT_FALSE(during.noticeShown && during.notice.startsWith("Saving"));
    EXPECT_TRUE(frame_->View()->InfoDlg()->isVisible());
    EXPECT_EQ(frame_->View()->InfoDlg()->Text(), QString("Saving Mode 3 ……"));
}
