// The special functions: what each setter stores and writes, the command-set rule of the music
// AGC, and what the features window is shown from the stores.
#include "dsp/Features.h"

#include "DspFixture.h"
#include "dsp/Biquad.h"
#include "dsp/EqBands.h"
#include "model/CmdVersion.h"
#include "model/ParamIds.h"

namespace {
class FeaturesTest : public DspFixture
{
protected:
    void SetUp() override
    {
        DspFixture::SetUp();
        previousVersion_ = g_nCmdVersion.load();
        g_nCmdVersion = 21;
    }
    void TearDown() override
    {
        g_nCmdVersion = previousVersion_;
        DspFixture::TearDown();
    }
    const SentReport* Last(int block, int param) const
    {
        static SentReport found;
        bool any = false;
        for (const SentReport& s : ParamWrites()) {
            if (s.Is(block, param)) {
                found = s;
                any = true;
            }
        }
        return any ? &found : nullptr;
    }

private:
    int previousVersion_ = 1;
};

TEST_F(FeaturesTest, BoostLevelIsWrittenNegatedAndReadBackFromBlock997)
{
    SetFeatureMicBoost(20);
    EXPECT_EQ(MicBoostLevel(), -20.0f);
    const auto sent = Sent();
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent[0].address, 997);
    EXPECT_EQ(sent[0].data, (std::vector<uint8_t>{0xC1, 0xA0})); // -20.0f = C1 A0 00 00
    EXPECT_EQ(ReadFeatures().boostDb, 20);

    // Out of the slider's range: limited, never a positive level.
    SetFeatureMicBoost(55);
    EXPECT_EQ(ReadFeatures().boostDb, 40);
    SetFeatureMicBoost(-3);
    EXPECT_EQ(MicBoostLevel(), 0.0f);
}

TEST_F(FeaturesTest, BoostSwitchStoresBothCellsAndWritesTheSwitch)
{
    SetFeatureMicBoostOn(true);
    EXPECT_EQ(ParamStore.GetInt(PRM_MIC_BOOST_ON), 1);
    EXPECT_EQ(ParamStore.GetInt(PRM_MIC_BOOST_ON2), 1);
    EXPECT_NE(Last(1, 65), nullptr);
    EXPECT_NE(Last(1, 69), nullptr);
    EXPECT_TRUE(ReadFeatures().boostOn);
    SetFeatureMicBoostOn(false);
    EXPECT_FALSE(ReadFeatures().boostOn);
}

TEST_F(FeaturesTest, LowPassSetsMusicBand10AsLowPassAndWritesItsBiquad)
{
    SetMusicLowPassFrequency(120);
    const EqBand band = LoadEqBand(4, kMusicLowPassBand);
    EXPECT_EQ(band.type, EQ_TYPE_LP);
    EXPECT_EQ(band.freq, 120);
    EXPECT_NEAR(band.q, 0.707, 1e-9);
    EXPECT_NEAR(band.gain, 0.0, 1e-9);
    const SentReport* w = Last(4, 10);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->count, 5);
    const BiquadCoefs c = DesignBiquad(EQ_TYPE_LP, 0.0, 120, 0.707);
    EXPECT_FLOAT_EQ(w->Float(0), static_cast<float>(-c.a1));
    EXPECT_FLOAT_EQ(w->Float(2), static_cast<float>(c.b0));
    EXPECT_EQ(ReadFeatures().lowPassHz, 120);

    SetMusicLowPassFrequency(5000); // limited to the slider's range
    EXPECT_EQ(LoadEqBand(4, kMusicLowPassBand).freq, 300);
}

TEST_F(FeaturesTest, DelayGainAndAutoSubStoreAndWrite)
{
    struct Case
    {
        void (*set)(int);
        int value;
        int cell;
        int stored;
        int block;
        int param;
        float sent;
    };
    const Case cases[] = {
        {SetMusicLowPassDelay, 10, PRM_MUSIC_LPF_DELAY, 10, 4, 30, 480.0f},
        {SetMusicLowPassDelay, 99, PRM_MUSIC_LPF_DELAY, 20, 4, 30, 960.0f},
        {SetMusicLowPassGain, 250, PRM_MUSIC_LPF_GAIN, 250, 4, 31, 2.5f},
        {SetMusicLowPassGain, 900, PRM_MUSIC_LPF_GAIN, 800, 4, 31, 8.0f},
        {SetAutoSubLevel, 40, PRM_AUTOSUB_LEVEL, 40, 1, 58, 0.4f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "cell " << c.cell << " value " << c.value);
        sink.Clear();
        c.set(c.value);
        EXPECT_EQ(ParamStore.GetInt(c.cell), c.stored);
        const SentReport* w = Last(c.block, c.param);
        ASSERT_NE(w, nullptr);
        if (c.cell == PRM_MUSIC_LPF_DELAY) {
            EXPECT_EQ(w->Word(0), static_cast<uint32_t>(c.sent)); // samples at 48 kHz
        } else {
            EXPECT_FLOAT_EQ(w->Float(0), c.sent);
        }
    }
    SetAutoSubOn(true);
    EXPECT_EQ(ParamStore.GetInt(PRM_AUTOSUB_ON), 1);
    ASSERT_NE(Last(1, 57), nullptr);
    EXPECT_EQ(Last(1, 57)->Word(0), 1u);
    const FeaturesShown shown = ReadFeatures();
    EXPECT_TRUE(shown.autoSubOn);
    EXPECT_EQ(shown.autoSubLevel, 40);
    EXPECT_EQ(shown.lowPassDelayMs, 20);
    EXPECT_EQ(shown.lowPassGain, 800);
}

TEST_F(FeaturesTest, AgcLevelShowsTenthsAndIsWrittenAsAFloat)
{
    ParamStore.SetFloat(PRM_MUSIC_AGC_LEVEL, -12.0f);
    EXPECT_EQ(ReadFeatures().agcTenths, -120);
    EXPECT_EQ(ReadFeatures().agcDb, -12.0f);

    EXPECT_TRUE(SetFeatureMusicAgcTenths(-123));
    EXPECT_FLOAT_EQ(ParamStore.GetFloat(PRM_MUSIC_AGC_LEVEL), -12.3f);
    ASSERT_NE(Last(4, 18), nullptr);
    EXPECT_FLOAT_EQ(Last(4, 18)->Float(0), -12.3f);
    EXPECT_EQ(ReadFeatures().agcTenths, -123); // the slider comes back where it was left

    EXPECT_TRUE(SetFeatureMusicAgcOn(true));
    EXPECT_EQ(ParamStore.GetInt(PRM_MUSIC_AGC_ON), 1);
    ASSERT_NE(Last(4, 17), nullptr);
    EXPECT_EQ(Last(4, 17)->Word(0), 1u);
    EXPECT_TRUE(ReadFeatures().agcOn);
}

TEST_F(FeaturesTest, AgcBeforeCommandSet9_ShowsOffAtMinus10AndChangesNothing)
{
    ParamStore.SetInt(PRM_MUSIC_AGC_ON, 1);
    ParamStore.SetFloat(PRM_MUSIC_AGC_LEVEL, -30.0f);
    g_nCmdVersion = 8;
    const FeaturesShown shown = ReadFeatures();
    EXPECT_FALSE(shown.agcAvailable);
    EXPECT_FALSE(shown.agcOn);
    EXPECT_EQ(shown.agcDb, -10.0f);
    EXPECT_EQ(shown.agcTenths, -100);

    EXPECT_FALSE(SetFeatureMusicAgcTenths(-250));
    EXPECT_FALSE(SetFeatureMusicAgcOn(false));
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(ParamStore.GetFloat(PRM_MUSIC_AGC_LEVEL), -30.0f);
    EXPECT_EQ(ParamStore.GetInt(PRM_MUSIC_AGC_ON), 1);

    g_nCmdVersion = 9;
    EXPECT_TRUE(SetFeatureMusicAgcTenths(-250));
    EXPECT_NE(Last(4, 18), nullptr);
}

TEST_F(FeaturesTest, MusicLevelIsStatusByte14AsASignedByte)
{
    EXPECT_EQ(MusicInputLevelDb(0xE2), -30);
    EXPECT_EQ(MusicInputLevelDb(0x05), 5);
    EXPECT_EQ(MusicInputLevelDb(0x80), -128);
    EXPECT_EQ(MusicInputLevelDb(0x00), 0);
}
} // namespace
