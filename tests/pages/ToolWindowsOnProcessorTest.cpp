// The three tool windows inside the main window, against an emulated processor on the virtual
// bus through the real transport: what reaches the processor from "Apply", the mode reset,
// learning a key, and remote data files.
#include "app/AppFixture.h"
#include "app/AppSettings.h"
#include "app/AppText.h"
#include "app/CInfoDlg.h"
#include "app/CKW4620v13View.h"
#include "app/CMainFrame.h"
#include "app/CRibbonBar.h"
#include "app/ControllerSession.h"
#include "app/QtUiPort.h"
#include "controls/CGdipButton.h"
#include "controls/CXBmpSlider.h"
#include "dsp/Dynamics.h"
#include "files/RemoteFile.h"
#include "i18n/Language.h"
#include "link/LinkState.h"
#include "link/MachineSettings.h"
#include "link/Protocol.h"
#include "link/UsbTransport.h"
#include "link/controller/VirtualBusWatcher.h"
#include "link/emulator/EmulatedProcessor.h"
#include "link/emulator/VirtualHidBus.h"
#include "model/ParamStore.h"
#include "model/Writer.h"
#include "pages/CRemoteDlg.h"
#include "pages/CSetDlg.h"
#include "pages/CloudnessDlg.h"
#include "pages/PagesFixture.h"
#include "pages/RemoteLayout.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>

using namespace std::chrono_literals;

namespace {
constexpr const char* kPath = "/dev/hidraw-dsp4620";
constexpr std::array<uint8_t, kMachineSettingsSize> kReported = {
    0, 70, 60, 99, 99, 1, 0x10, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 1};

// The remote layout index of function k's key.
int KeyOf(int function)
{
    for (int i = 0; i < remote_layout::kKeyCount; ++i) {
        if (remote_layout::kKeys[static_cast<size_t>(i)].function == function) {
            return i;
        }
    }
    return -1;
}

class ToolWindowsOnProcessor : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        ResetLinkState();
        ParamStore.ResetToDefaults();
        g_bConnected = 0;
        g_bReadThreadEnd = 0;
        previousPause_ = SetPauseFunction([](int) {});
        SetUsbTimings({20ms, 200ms});
        SetUsbWireObserver([this](char direction, const Report& report) {
            if (direction == '>') {
                std::lock_guard lock(mutex_);
                sent_.push_back(report);
            }
        });
        SetAppLanguage(0);
    }

    // Starts the program with a processor whose learning answers after `learnDelay`.
    void Start(std::chrono::milliseconds learnDelay = 5ms)
    {
        ProcessorState state = ProcessorState::Factory();
        state.machineSettings = kReported;
        EmulatorOptions options;
        options.latency = 0ms;
        options.learnDelay = learnDelay;
        processor_ = std::make_shared<EmulatedProcessor>(options, state);
        bus_.AddInterface({kPath, 1, 0x2010, 0x1031, processor_, ""});
        SetUsbBackend(&bus_);
        settings_ = std::make_unique<AppSettings>(dir_.filePath("settings.ini"));
        frame_ = MakeFrameOnVirtualBus(*settings_, bus_, NoWaitControllerOptions(), &session_);
        frame_->View()->SetPause([](int) {});
        frame_->Ui().SetBoxHook([this](const QString& text, const QString& caption) {
            boxes_.push_back((caption + " | " + text).toStdString());
            return UiAnswer::Ok;
        });
        frame_->show();
        ASSERT_TRUE(WaitSettled(1));
        // The answers of identification may land after the synchronisation ended.
        ASSERT_TRUE(
            QTest::qWaitFor([] { return g_MachineSettings.Snapshot() == kReported; }, 10000));
        ASSERT_TRUE(QTest::qWaitFor([] { return g_RemoteTable.Get(0) == 0x80; }, 10000));
    }

    void TearDown() override
    {
        frame_.reset();
        CloseUsbDevice(false);
        SetUsbBackend(nullptr);
        SetUsbTimings({});
        SetUsbWireObserver({});
        SetPauseFunction(previousPause_);
        SetAppLanguage(0);
    }

    bool WaitSettled(int syncs)
    {
        return QTest::qWaitFor(
            [&] { return session_->Controller().SyncsHandled() >= syncs && session_->Settled(); },
            10000);
    }
    size_t Mark()
    {
        std::lock_guard lock(mutex_);
        return sent_.size();
    }
    std::vector<Report> SentSince(size_t mark)
    {
        std::lock_guard lock(mutex_);
        return {sent_.begin() + static_cast<std::ptrdiff_t>(mark), sent_.end()};
    }
    // Command bytes sent since the mark, without status polls.
    std::vector<int> CommandsSince(size_t mark)
    {
        std::vector<int> out;
        for (const Report& r : SentSince(mark)) {
            if (r[1] != kCmdStatus) {
                out.push_back(r[1]);
            }
        }
        return out;
    }
    template <class T> T* Open(ToolKind kind)
    {
        frame_->View()->OpenToolWindow(kind);
        return dynamic_cast<T*>(frame_->View()->ToolWindow(kind));
    }
    // Clicks a key of the remote; a learning dialog still open after 10 s is cancelled, so a
    // broken learning path fails the test instead of hanging it.
    static void Learn(CRemoteDlg* remote, int function)
    {
        QPointer<CRemoteDlg> guard(remote);
        QTimer::singleShot(10000, remote, [guard] {
            if (guard && guard->StudyDialog()) {
                guard->StudyDialog()->reject();
            }
        });
        remote->ClickKey(KeyOf(function));
    }
    QString Info() const { return frame_->View()->InfoDlg()->Text(); }
    static std::vector<uint8_t> ReadBytes(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
    }
    static Report Expected(uint8_t command, std::span<const uint8_t> bytes)
    {
        Report r = MakeReport(command);
        std::copy(bytes.begin(), bytes.end(), r.begin() + 2);
        return r;
    }
    std::vector<Report> Without(const std::vector<Report>& reports, uint8_t command)
    {
        std::vector<Report> out;
        for (const Report& r : reports) {
            if (r[1] != command) {
                out.push_back(r);
            }
        }
        return out;
    }

    QTemporaryDir dir_;
    VirtualHidBus bus_;
    std::shared_ptr<EmulatedProcessor> processor_;
    std::unique_ptr<AppSettings> settings_;
    std::unique_ptr<CMainFrame> frame_;
    ControllerSession* session_ = nullptr;
    std::vector<std::string> boxes_;
    PauseFunction previousPause_;
    std::mutex mutex_;
    std::vector<Report> sent_;
};

TEST_F(ToolWindowsOnProcessor, F7OpensTheSettingsOnceAndApplySendsTheRecordAsReported)
{
    Start();
    QTest::keyClick(frame_.get(), Qt::Key_F7);
    auto* dialog = dynamic_cast<CSetDlg*>(frame_->View()->ToolWindow(ToolKind::MachineSettings));
    ASSERT_NE(dialog, nullptr);
    QTest::keyClick(frame_.get(), Qt::Key_F7);
    EXPECT_EQ(frame_->View()->ToolWindow(ToolKind::MachineSettings), dialog) << "one at a time";
    EXPECT_EQ(dialog->Slider(0)->GetPos(), 70);

    const size_t mark = Mark();
    QTest::mouseClick(dialog->ApplyButton(), Qt::LeftButton);
    EXPECT_EQ(Without(SentSince(mark), kCmdStatus),
              (std::vector<Report>{Expected(kCmdWriteMachineSettings, kReported)}));
    EXPECT_EQ(Info(), "机器设置已生效!");

    // An edit, cancelled, then applied from a fresh window: the committed record again.
    QTest::mouseClick(dialog->LockVolumeBox(), Qt::LeftButton, {}, QPoint(6, 8));
    QTest::mouseClick(dialog->CancelButton(), Qt::LeftButton);
    QTest::qWait(0);
    EXPECT_EQ(frame_->View()->ToolWindow(ToolKind::MachineSettings), nullptr);
    auto* again = Open<CSetDlg>(ToolKind::MachineSettings);
    ASSERT_NE(again, nullptr);
    const size_t mark2 = Mark();
    QTest::mouseClick(again->ApplyButton(), Qt::LeftButton);
    EXPECT_EQ(Without(SentSince(mark2), kCmdStatus),
              (std::vector<Report>{Expected(kCmdWriteMachineSettings, kReported)}));

    // An applied edit reaches the processor's record.
    QTest::mouseClick(again->LockVolumeBox(), Qt::LeftButton, {}, QPoint(6, 8));
    QTest::mouseClick(again->ApplyButton(), Qt::LeftButton);
    std::array<uint8_t, kMachineSettingsSize> locked = kReported;
    locked[MS_LOCK_FLAGS] = 0x93;
    EXPECT_TRUE(QTest::qWaitFor([&] { return processor_->State().machineSettings == locked; }));
}

// A lower mic maximum pulls the start volume down and writes the mic volume at once: the
// ribbon's mic slider shows the new volume.
TEST_F(ToolWindowsOnProcessor, LoweringTheMicMaximumMovesTheRibbonsMicSlider)
{
    Start();
    constexpr int kRibbonMicSlider = 32829;
    auto* mic = qobject_cast<QSlider*>(frame_->Ribbon()->FindCommand(kRibbonMicSlider));
    ASSERT_NE(mic, nullptr);
    auto* dialog = Open<CSetDlg>(ToolKind::MachineSettings);
    ASSERT_NE(dialog, nullptr);
    dialog->show();
    MoveSliderTo(dialog->Slider(2), 50);
    EXPECT_EQ(dialog->Slider(0)->GetPos(), 50);
    EXPECT_EQ(mic->value(), 50);
}

TEST_F(ToolWindowsOnProcessor, ModeButtonResetsThatModeAndReadsTheProcessorAgain)
{
    Start();
    auto* dialog = Open<CSetDlg>(ToolKind::MachineSettings);
    ASSERT_NE(dialog, nullptr);
    const int syncs = session_->Controller().SyncsHandled();
    const uint64_t models = processor_->RequestCount(kCmdModel);
    const size_t mark = Mark();
    QTest::mouseClick(dialog->ModeButton(2), Qt::LeftButton);
    ASSERT_TRUE(WaitSettled(syncs + 1));
    const std::vector<Report> sent = Without(SentSince(mark), kCmdStatus);
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.front()[1], kCmdResetMode);
    EXPECT_EQ(sent.front()[2], 2);
    EXPECT_GT(processor_->RequestCount(kCmdModel), models) << "read again";
    EXPECT_EQ(g_nCurMode.load(), 2);
    // The shell's refresh after the synchronisation shows the new mode in the window.
    ASSERT_EQ(frame_->View()->ToolWindow(ToolKind::MachineSettings), dialog);
    EXPECT_TRUE(dialog->ModeButton(2)->IsChecked());
    EXPECT_FALSE(dialog->ModeButton(0)->IsChecked());
}

TEST_F(ToolWindowsOnProcessor, FeaturesWindowIsRefreshedByRefreshAllAndRefreshWritesNothing)
{
    Start();
    frame_->View()->OpenToolWindow(ToolKind::Features);
    auto* dialog = dynamic_cast<CloudnessDlg*>(frame_->View()->ToolWindow(ToolKind::Features));
    ASSERT_NE(dialog, nullptr);
    ParamStore.SetInt(PRM_AUTOSUB_LEVEL, 64);
    const size_t mark = Mark();
    frame_->View()->RefreshAll();
    EXPECT_EQ(dialog->SliderAt(CloudnessDlg::SUB_LEVEL)->GetPos(), 64);
    EXPECT_EQ(dialog->Value(CloudnessDlg::SUB_LEVEL)->text(), "64%");
    EXPECT_TRUE(Without(SentSince(mark), kCmdStatus).empty());
}

TEST_F(ToolWindowsOnProcessor, RemoteWindowTurnsPollingOffWhileOpenAndRestoresIt)
{
    Start();
    ASSERT_TRUE(session_->PeakPolling());
    auto* remote = Open<CRemoteDlg>(ToolKind::Remote);
    ASSERT_NE(remote, nullptr);
    EXPECT_FALSE(session_->PeakPolling());
    remote->close();
    QTest::qWait(0);
    EXPECT_EQ(frame_->View()->ToolWindow(ToolKind::Remote), nullptr);
    EXPECT_TRUE(session_->PeakPolling());

    // Polling that was off stays off.
    session_->SetPeakPolling(false);
    Open<CRemoteDlg>(ToolKind::Remote)->close();
    QTest::qWait(0);
    EXPECT_FALSE(session_->PeakPolling());
}

TEST_F(ToolWindowsOnProcessor, LearnedKeyFromAReportIsShownAndTheDialogClosesAfterTheDelay)
{
    Start(60s); // the emulated remote stays silent: the test sends the answer itself
    auto* remote = Open<CRemoteDlg>(ToolKind::Remote);
    ASSERT_NE(remote, nullptr);
    remote->SetStudyCloseDelay(50);
    const size_t mark = Mark();
    bool checked = false;
    QTimer::singleShot(0, [&] {
        CRemoteStudyDlg* study = remote->StudyDialog();
        ASSERT_NE(study, nullptr);
        EXPECT_EQ(study->LearningText()->text(), "您正在学习的键：升调");
        EXPECT_TRUE(study->CancelButton()->isVisible());
        // Input report 0x60 as the processor sends it, on a thread as the read thread would.
        Report report = MakeReport(kCmdLearnKey);
        report[2] = 0x5A;
        report[3] = 0x0A;
        report[4] = 0x1C;
        std::thread reader([report] { ParseInputReport(report); });
        const bool learned = QTest::qWaitFor([&] { return study->KeyLearned(); });
        reader.join();
        if (!learned) {
            study->reject(); // end the modal loop so the test can fail cleanly
        }
        ASSERT_TRUE(learned);
        EXPECT_EQ(study->CodeBox()->text(), "1C");
        EXPECT_FALSE(study->CancelButton()->isVisible());
        EXPECT_TRUE(study->CloseButton()->isVisible());
        EXPECT_EQ(study->MessageLine()->text(), "窗口将自动关闭");
        checked = true;
    });
    Learn(remote, 10); // returns when the learning dialog has closed itself
    EXPECT_TRUE(checked);
    EXPECT_EQ(remote->StudyDialog(), nullptr);
    EXPECT_EQ(g_RemoteTable.Get(0), 0x5A);
    EXPECT_EQ(g_RemoteTable.Get(10), 0x1C);
    EXPECT_EQ(CommandsSince(mark), (std::vector<int>{kCmdLearnKey}));
    EXPECT_EQ(SentSince(mark).front()[2], 10);
    CRemoteStudyDlg fresh(1);
    EXPECT_EQ(fresh.CloseDelay(), 1000);
}

TEST_F(ToolWindowsOnProcessor, LearningAgainstTheEmulatedRemoteThenApplyStoresTheTable)
{
    Start(5ms);
    auto* remote = Open<CRemoteDlg>(ToolKind::Remote);
    ASSERT_NE(remote, nullptr);
    remote->SetStudyCloseDelay(20);
    frame_->View()->SwitchLanguage(); // Chinese to English, as the ribbon button does
    ASSERT_EQ(AppLanguage(), 1);
    QString shown;
    int result = -1;
    QTimer::singleShot(0, [&] {
        if (CRemoteStudyDlg* study = remote->StudyDialog()) {
            shown = study->LearningText()->text();
            QObject::connect(study, &QDialog::finished, [&](int r) { result = r; });
        }
    });
    Learn(remote, 3);
    EXPECT_EQ(shown, "Learning key: load user mode 3");
    EXPECT_EQ(result, QDialog::Accepted) << "closed by itself once the key arrived";
    EXPECT_EQ(g_RemoteTable.Get(3), 0x43);
    EXPECT_NE(processor_->State().keyTable[3], 0x43) << "stored only by Apply";
    const size_t mark = Mark();
    QTest::mouseClick(remote->Button(2), Qt::LeftButton);
    const RemoteTableBytes table = g_RemoteTable.Snapshot();
    EXPECT_EQ(Without(SentSince(mark), kCmdStatus),
              (std::vector<Report>{Expected(kCmdWriteRemoteTable, table)}));
    EXPECT_EQ(Info(), "Save successed !");
    EXPECT_TRUE(QTest::qWaitFor([&] { return processor_->State().keyTable[3] == 0x43; }));
    EXPECT_EQ(remote->HelpPictureNumber(), remote_layout::kHelpPictureEnglish);
}

TEST_F(ToolWindowsOnProcessor, CancelLearningSendsStopAndUnsupportedKeysSendNothing)
{
    Start(60s);
    auto* remote = Open<CRemoteDlg>(ToolKind::Remote);
    ASSERT_NE(remote, nullptr);
    const RemoteTableBytes before = g_RemoteTable.Snapshot();
    size_t mark = Mark();
    QTimer::singleShot(0, [&] {
        ASSERT_NE(remote->StudyDialog(), nullptr);
        QTest::mouseClick(remote->StudyDialog()->CancelButton(), Qt::LeftButton);
    });
    Learn(remote, 7);
    EXPECT_EQ(CommandsSince(mark), (std::vector<int>{kCmdLearnKey, kCmdStopLearning}));
    EXPECT_EQ(g_RemoteTable.Snapshot(), before);

    mark = Mark();
    int unsupported = 0;
    for (int i = 0; i < remote_layout::kKeyCount; ++i) {
        if (remote_layout::kKeys[static_cast<size_t>(i)].function == 0) {
            QTest::mouseClick(remote->Picture(), Qt::LeftButton, {},
                              remote->Picture()->KeyCentre(i));
            ++unsupported;
        }
    }
    EXPECT_EQ(unsupported, 3);
    EXPECT_TRUE(CommandsSince(mark).empty());
    ASSERT_EQ(boxes_.size(), 3u);
    EXPECT_EQ(boxes_[0], "提示 | 不支持该功能");
}

TEST_F(ToolWindowsOnProcessor, RemoteFilesSaveWithTheirExtensionLoadShortFilesAndReportFailures)
{
    Start();
    auto* remote = Open<CRemoteDlg>(ToolKind::Remote);
    ASSERT_NE(remote, nullptr);
    QString chosen;
    remote->SetFileChooser([&](QWidget*, bool) { return chosen; });
    const RemoteTableBytes table = {0x5A, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
    g_RemoteTable.Write(0, table);

    chosen = dir_.filePath("keys.txt");
    QTest::mouseClick(remote->Button(1), Qt::LeftButton);
    EXPECT_EQ(Info(), "保存遥控文件成功");
    const std::string saved = dir_.filePath("keys.remo").toStdString();
    EXPECT_EQ(ReadBytes(saved), std::vector<uint8_t>(table.begin(), table.end()));
    EXPECT_FALSE(std::filesystem::exists(dir_.filePath("keys.txt").toStdString()));

    g_RemoteTable.Fill(0xEE);
    chosen = QString::fromStdString(saved);
    size_t mark = Mark();
    QTest::mouseClick(remote->Button(0), Qt::LeftButton);
    EXPECT_EQ(g_RemoteTable.Snapshot(), table);
    EXPECT_EQ(Without(SentSince(mark), kCmdStatus),
              (std::vector<Report>{Expected(kCmdWriteRemoteTable, table)}));
    EXPECT_EQ(Info(), "载入遥控文件成功");

    {
        std::ofstream out(dir_.filePath("short.remo").toStdString(), std::ios::binary);
        const char ten[10] = {9, 8, 7, 6, 5, 4, 3, 2, 1, 0};
        out.write(ten, 10);
    }
    chosen = dir_.filePath("short.remo");
    mark = Mark();
    QTest::mouseClick(remote->Button(0), Qt::LeftButton);
    const RemoteTableBytes mixed = {9, 8, 7, 6, 5, 4, 3, 2, 1, 0, 10, 11, 12, 13, 14, 15};
    EXPECT_EQ(g_RemoteTable.Snapshot(), mixed);
    EXPECT_EQ(Without(SentSince(mark), kCmdStatus),
              (std::vector<Report>{Expected(kCmdWriteRemoteTable, mixed)}));

    // Failures: a box with the reason, then the notice; nothing is sent.
    chosen = dir_.filePath("missing.remo");
    mark = Mark();
    QTest::mouseClick(remote->Button(0), Qt::LeftButton);
    EXPECT_EQ(Info(), "载入遥控文件失败");
    EXPECT_TRUE(Without(SentSince(mark), kCmdStatus).empty());
    ASSERT_EQ(boxes_.size(), 1u);
    chosen = dir_.filePath("no-folder/k.remo");
    QTest::mouseClick(remote->Button(1), Qt::LeftButton);
    EXPECT_EQ(Info(), "保存遥控文件失败");
    ASSERT_EQ(boxes_.size(), 2u);
    EXPECT_EQ(boxes_[1].rfind("Can't write to file | Errcode=2,Can't write to file:", 0), 0u)
        << boxes_[1];

    // A cancelled file dialog does nothing more.
    chosen.clear();
    mark = Mark();
    QTest::mouseClick(remote->Button(0), Qt::LeftButton);
    QTest::mouseClick(remote->Button(1), Qt::LeftButton);
    EXPECT_TRUE(Without(SentSince(mark), kCmdStatus).empty());
    EXPECT_EQ(boxes_.size(), 2u);
}

TEST_F(ToolWindowsOnProcessor, WithoutALinkTheFileCommandsRefuseWithTheNotice)
{
    Start();
    auto* remote = Open<CRemoteDlg>(ToolKind::Remote);
    ASSERT_NE(remote, nullptr);
    bool asked = false;
    remote->SetFileChooser([&](QWidget*, bool) {
        asked = true;
        return QString();
    });
    CloseUsbDevice(false);
    ASSERT_FALSE(session_->IsConnected());
    for (int b = 0; b < 3; ++b) {
        QTest::mouseClick(remote->Button(b), Qt::LeftButton);
        EXPECT_EQ(Info(), "请先连接机器再进行此操作!") << b;
    }
    EXPECT_FALSE(asked);
}
} // namespace
