// The machine-settings record against the emulated processor through the real transport: the
// record as reported, the editing rules of the working copy, what Apply and Cancel send, and
// the start volumes written at once.
#include "link/MachineSettings.h"

#include "ControllerFixture.h"
#include "model/ParamIds.h"
#include "model/Writer.h"

#include <optional>
#include <thread>

namespace {
// A record with every byte telling: lock flags 0x10, the untouched bytes 7..11 set.
constexpr std::array<uint8_t, kMachineSettingsSize> kReported = {
    1, 70, 255, 99, 80, 1, 0x10, 0xA7, 0x01, 0x02, 0x03, 0x04, 2};

class MachineSettingsTest : public ControllerTest
{
protected:
    std::shared_ptr<EmulatedProcessor> AddProcessorWithRecord()
    {
        ProcessorState state = ProcessorState::Factory();
        state.machineSettings = kReported;
        auto p = std::make_shared<EmulatedProcessor>(ProcessorOptions(), state);
        bus.AddInterface({kProcessorPath, 1, 0x2010, 0x1031, p, ""});
        return p;
    }

    // The processor applies commands on its own thread: wait until it holds the record.
    static bool WaitForRecord(const EmulatedProcessor& p,
                              const std::array<uint8_t, kMachineSettingsSize>& record)
    {
        for (int i = 0; i < 2000; ++i) {
            if (p.State().machineSettings == record) {
                return true;
            }
            std::this_thread::sleep_for(1ms);
        }
        return false;
    }

    // Connects and waits for the record the processor reports at identification, whose
    // answer may land after the synchronisation has ended.
    void Connect()
    {
        ConnectAtStartup();
        for (int i = 0; i < 10000 && CommittedMachineSettings() != kReported; ++i) {
            std::this_thread::sleep_for(1ms);
        }
        ASSERT_EQ(CommittedMachineSettings(), kReported);
    }

    static Report ApplyReport(const MachineSettingsRecord& r)
    {
        Report report = MakeReport(kCmdWriteMachineSettings);
        std::copy(r.begin(), r.end(), report.begin() + 2);
        return report;
    }

    // The last write to (block, param) in the reports.
    static std::optional<Report> LastWrite(const std::vector<Report>& sent, int block, int param)
    {
        std::optional<Report> found;
        for (const Report& r : sent) {
            if (r[1] == 0x09 && r[3] == block && r[4] == param) {
                found = r;
            }
        }
        return found;
    }
};

TEST_F(MachineSettingsTest, ApplyRightAfterOpeningSendsTheRecordAsReported)
{
    auto p = AddProcessorWithRecord();
    Connect();
    EXPECT_EQ(CommittedMachineSettings(), kReported);
    const MachineSettingsShown shown = BeginMachineSettingsEdit();
    EXPECT_EQ(shown.mic.position, 70);
    EXPECT_TRUE(shown.mic.enabled);
    EXPECT_FALSE(shown.music.enabled);
    EXPECT_EQ(shown.music.position, 0);
    EXPECT_EQ(shown.music.rangeMax, 80);
    EXPECT_TRUE(shown.panelLock);
    EXPECT_FALSE(shown.lockVolume);
    EXPECT_TRUE(shown.lockMode);
    EXPECT_EQ(shown.powerOnMode, 2);
    EXPECT_EQ(shown.saveMode, 1);

    const size_t mark = wire.Mark();
    EXPECT_EQ(ApplyMachineSettings(), 61);
    const std::vector<Report> sent = wire.SentSince(mark);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0], ApplyReport(kReported));
    EXPECT_TRUE(WaitForRecord(*p, kReported));
}

TEST_F(MachineSettingsTest, LoweringTheMaximumPullsTheStartDownAndWritesTheVolume)
{
    AddProcessorWithRecord();
    Connect();
    BeginMachineSettingsEdit();
    SetMaxVolume(StartVolume::Mic, 99);
    const size_t mark = wire.Mark();
    const StartVolumeShown mic = SetMaxVolume(StartVolume::Mic, 50);
    EXPECT_EQ(mic.position, 50);
    EXPECT_EQ(mic.rangeMax, 50);
    EXPECT_EQ(WorkingMachineSettings()[MS_MIC_START], 50);
    EXPECT_EQ(WorkingMachineSettings()[MS_MIC_MAX], 50);
    EXPECT_EQ(ParamStore.GetInt(PRM_MIC_VOL), 50);
    const std::vector<Report> sent = wire.SentSince(mark);
    for (int param : {20, 33}) {
        const std::optional<Report> w = LastWrite(sent, 1, param);
        ASSERT_TRUE(w) << param;
        EXPECT_EQ(GetFloatBE(&(*w)[6]), 0.5f);
    }
    // Raising it again moves nothing and writes nothing.
    const size_t mark2 = wire.Mark();
    EXPECT_EQ(SetMaxVolume(StartVolume::Mic, 90).position, 50);
    EXPECT_EQ(wire.Mark(), mark2);
    // A start volume that is off stays off under a lower maximum.
    SetMaxVolume(StartVolume::Music, 10);
    EXPECT_EQ(WorkingMachineSettings()[MS_MUSIC_START], kStartVolumeOff);
    EXPECT_EQ(wire.Mark(), mark2);
    // Nothing of it reached the processor's record.
    EXPECT_EQ(CommittedMachineSettings(), kReported);
}

TEST_F(MachineSettingsTest, StartSlidersWriteTheVolumesAtOnceWithinTheirMaximum)
{
    AddProcessorWithRecord();
    Connect();
    BeginMachineSettingsEdit();
    SetStartVolumeEnabled(StartVolume::Music, true);
    size_t mark = wire.Mark();
    EXPECT_EQ(SetStartVolume(StartVolume::Music, 95).position, 80); // the maximum is 80
    EXPECT_EQ(WorkingMachineSettings()[MS_MUSIC_START], 80);
    EXPECT_EQ(ParamStore.GetInt(PRM_MUSIC_VOL), 80);
    const std::optional<Report> music = LastWrite(wire.SentSince(mark), 4, 11);
    ASSERT_TRUE(music);
    EXPECT_EQ((*music)[5], 6);
    EXPECT_EQ(GetFloatBE(&(*music)[6]), 0.8f);
    EXPECT_EQ(GetFloatBE(&(*music)[6 + 20]), 0.8f);
    mark = wire.Mark();
    SetStartVolume(StartVolume::Mic, 33);
    const std::optional<Report> mic = LastWrite(wire.SentSince(mark), 1, 20);
    ASSERT_TRUE(mic);
    EXPECT_EQ(GetFloatBE(&(*mic)[6]), 0.33f);
}

TEST_F(MachineSettingsTest, EnableBoxesAndLockBitsEditTheWorkingCopy)
{
    AddProcessorWithRecord();
    Connect();
    BeginMachineSettingsEdit();
    const size_t mark = wire.Mark();

    StartVolumeShown mic = SetStartVolumeEnabled(StartVolume::Mic, false);
    EXPECT_EQ(WorkingMachineSettings()[MS_MIC_START], 255);
    EXPECT_FALSE(mic.enabled);
    EXPECT_EQ(mic.position, 0);
    ParamStore.SetInt(PRM_MIC_VOL, 64);
    mic = SetStartVolumeEnabled(StartVolume::Mic, true);
    EXPECT_EQ(WorkingMachineSettings()[MS_MIC_START], 64);
    EXPECT_TRUE(mic.enabled);
    EXPECT_EQ(mic.position, 64);
    // A master volume above the maximum is kept within it.
    ParamStore.SetInt(PRM_MUSIC_VOL, 95);
    EXPECT_EQ(SetStartVolumeEnabled(StartVolume::Music, true).position, 80);
    EXPECT_EQ(WorkingMachineSettings()[MS_MUSIC_START], 80);

    SetLockVolume(true);
    EXPECT_EQ(WorkingMachineSettings()[MS_LOCK_FLAGS], 0x93);
    SetLockVolume(false);
    EXPECT_EQ(WorkingMachineSettings()[MS_LOCK_FLAGS], 0x10);
    SetLockMode(false);
    EXPECT_EQ(WorkingMachineSettings()[MS_LOCK_FLAGS], 0x00);
    SetLockVolume(true);
    SetLockMode(true);
    EXPECT_EQ(WorkingMachineSettings()[MS_LOCK_FLAGS], 0x93);
    SetPanelLock(false);
    EXPECT_EQ(WorkingMachineSettings()[MS_PANEL_LOCK], 0);
    SetVolumeSaveMode(0);
    EXPECT_EQ(WorkingMachineSettings()[MS_VOLUME_SAVE_MODE], 0);
    SetPowerOnMode(4);
    EXPECT_EQ(WorkingMachineSettings()[MS_POWER_ON_MODE], 4);
    SetPowerOnMode(9);
    EXPECT_EQ(WorkingMachineSettings()[MS_POWER_ON_MODE], 4);
    EXPECT_EQ(wire.Mark(), mark) << "only the start sliders write at once";
    EXPECT_EQ(CommittedMachineSettings(), kReported);
}

TEST_F(MachineSettingsTest, CancelThenApplySendsTheCommittedRecordAgain)
{
    auto p = AddProcessorWithRecord();
    Connect();
    BeginMachineSettingsEdit();
    SetStartVolume(StartVolume::Mic, 12);
    SetMaxVolume(StartVolume::Music, 30);
    SetLockVolume(true);
    CancelMachineSettingsEdit();
    EXPECT_EQ(WorkingMachineSettings(), kReported);
    EXPECT_EQ(CommittedMachineSettings(), kReported);
    EXPECT_EQ(ParamStore.GetInt(PRM_MIC_VOL), 12) << "volumes already written stay";

    const size_t mark = wire.Mark();
    ApplyMachineSettings();
    const std::vector<Report> sent = wire.SentSince(mark);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0], ApplyReport(kReported));

    // An edit that is applied becomes the committed record and the processor's.
    SetPowerOnMode(0);
    SetLockMode(false);
    MachineSettingsRecord edited = kReported;
    edited[MS_POWER_ON_MODE] = 0;
    edited[MS_LOCK_FLAGS] = 0x00;
    ApplyMachineSettings();
    EXPECT_EQ(CommittedMachineSettings(), edited);
    EXPECT_TRUE(WaitForRecord(*p, edited));
}

TEST_F(MachineSettingsTest, MicPhaseIsStoredAndWrittenAtOnce)
{
    AddProcessorWithRecord();
    Connect();
    size_t mark = wire.Mark();
    SetMicPhaseReversed(0, true);
    EXPECT_EQ(ParamStore.GetInt(PRM_MICA_PHASE), 0);
    const std::optional<Report> a = LastWrite(wire.SentSince(mark), 1, 31);
    ASSERT_TRUE(a);
    EXPECT_EQ(GetU32BE(&(*a)[6]), 0u);
    EXPECT_TRUE(ShowMachineSettings(CommittedMachineSettings()).micAReversed);
    mark = wire.Mark();
    SetMicPhaseReversed(1, false);
    EXPECT_EQ(ParamStore.GetInt(PRM_MICB_PHASE), 1);
    const std::optional<Report> b = LastWrite(wire.SentSince(mark), 1, 44);
    ASSERT_TRUE(b);
    EXPECT_EQ(GetU32BE(&(*b)[6]), 1u);
    EXPECT_FALSE(ShowMachineSettings(CommittedMachineSettings()).micBReversed);
}

TEST_F(MachineSettingsTest, AtStartTheMaximaAre99AndOutOfRangeBytesAreShownLimited)
{
    ResetLinkState();
    const MachineSettingsShown start = BeginMachineSettingsEdit();
    EXPECT_EQ(start.micMax, 99);
    EXPECT_EQ(start.musicMax, 99);
    EXPECT_EQ(WorkingMachineSettings()[MS_MIC_MAX], 99);
    MachineSettingsRecord odd{};
    odd[MS_MIC_MAX] = 0;
    odd[MS_MUSIC_MAX] = 200;
    odd[MS_MIC_START] = 150;
    odd[MS_POWER_ON_MODE] = 7;
    const MachineSettingsShown s = ShowMachineSettings(odd);
    EXPECT_EQ(s.micMax, 1);
    EXPECT_EQ(s.musicMax, 99);
    EXPECT_EQ(s.mic.position, 1);
    EXPECT_EQ(s.powerOnMode, 4);
    // With no processor the copies still change; nothing is sent.
    EXPECT_EQ(ApplyMachineSettings(), 0);
    EXPECT_EQ(CommittedMachineSettings()[MS_MIC_MAX], 99);
}
} // namespace
