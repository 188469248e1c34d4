#include "dsp/FullPush.h"

#include "dsp/Dynamics.h"
#include "dsp/EqBands.h"
#include "model/CmdVersion.h"
#include "model/DeviceMemory.h"
#include "model/ParamStore.h"
#include "model/Setters.h"
#include "model/WriteMap.h"
#include "model/Writer.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {
void Send(int block, int param)
{
    SendParam(block, param);
}

void SendRange(int block, int first, int last)
{
    for (int p = first; p <= last; ++p) {
        SendParam(block, p);
    }
}

float CellSum(int a, int b)
{
    return ParamStore.GetFloat(a) + ParamStore.GetFloat(b);
}

// The reverb time cell holds a whole number of hundredths: the push makes sure of it.
void SendWholeReverbTime(int channel, int cell)
{
    SetReverbTime(channel, std::trunc(ParamStore.GetFloat(cell)));
}

// Step 4 and 5: the effects of one mic channel.
struct ChannelParams
{
    int eqBypass, reverbBypass, reverbPredelay1, reverbPredelay2, reverbTime, echoBypass,
        echoPredelay1, echoPredelay2, echoTime, echoP19, echoDecay;
};

void SendChannel(int channel, const ChannelParams& p)
{
    Send(1, p.eqBypass);
    SendFrequencyShift(channel);
    Send(3, p.reverbBypass);
    SetReverbPredelay(channel, CellSum(p.reverbPredelay1, p.reverbPredelay2));
    SendWholeReverbTime(channel, p.reverbTime);
    Send(2, p.echoBypass);
    SetEchoPredelay(channel, CellSum(p.echoPredelay1, p.echoPredelay2));
    Send(2, p.echoTime);
    Send(2, p.echoP19);
    Send(2, p.echoDecay);
}

// Step 7 for a stereo output (Main, Rear, Top).
void SendStereoOutput(int block, DelaySide left, DelaySide right)
{
    Send(block, 18); // EQ bypass
    Send(block, 20); // compressor bypass
    Send(block, 21); // delays
    Send(block, 22);
    Send(block, 23); // delay off
    Send(block, 24);
    SendDelayMode(left); // mode pairs with their split stages
    SendDelayMode(right);
    Send(block, 27); // pass
}

void SendMonoOutput(int block, int eqBypass, DelaySide side)
{
    Send(block, eqBypass);     // EQ bypass
    Send(block, eqBypass + 2); // compressor bypass
    Send(block, eqBypass + 3); // delay
    Send(block, eqBypass + 4); // delay off
    SendDelayMode(side);       // mode pair with its split stages
    Send(block, eqBypass + 6); // pass
}
} // namespace

void SendAllParams(int rampSwitch)
{
    // 1. Volumes start silent when they are to be ramped up.
    if (rampSwitch == 1) {
        WriteParamFloat(1, 20, 0.0f);
        WriteParamFloat(1, 33, 0.0f);
        WriteParamFloat(4, 11, 0.0f, 6);
    }

    // 2. Routing, levels, mutes and effect volumes.
    SendRange(1, 23, 26);
    Send(2, 15);
    Send(3, 15);
    SendRange(1, 36, 39);
    Send(2, 22);
    Send(3, 21);
    Send(1, 32);
    Send(1, 45);
    SendMusicMute();
    Send(3, 27);
    Send(2, 29);
    Send(3, 26);
    Send(2, 28);

    // 3. Output mixes and surround.
    for (int block : {5, 6, 9}) {
        SendRange(block, 14, 17);
        Send(block, 30);
    }
    SendRange(7, 12, 15);
    SendRange(8, 22, 25);

    // 4. and 5. Mic channel effects.
    SendChannel(0, {27, 14, PRM_REVA_PREDELAY1, PRM_REVA_PREDELAY2, PRM_REVA_TIME, 14,
                    PRM_ECHOA_PREDELAY1, PRM_ECHOA_PREDELAY2, 18, 19, 20});
    SendChannel(1, {40, 20, PRM_REVB_PREDELAY1, PRM_REVB_PREDELAY2, PRM_REVB_TIME, 21,
                    PRM_ECHOB_PREDELAY1, PRM_ECHOB_PREDELAY2, 25, 26, 27});

    // 6. Mic ports, noise gates and the music input.
    SendRange(1, 46, 49);
    SendRange(1, 50, 53);
    Send(1, 54);
    Send(1, 55);
    Send(4, 16);
    Send(4, 19);
    if (g_nCmdVersion.load() >= 9) {
        Send(4, 17);
        Send(4, 18);
    }
    SendRange(4, 21, 23);
    Send(4, 13);
    Send(4, 14);
    Send(4, 12);
    Send(4, 24);
    Send(4, 25);
    Send(4, 26);

    // 7. Output switches, delays and delay modes.
    SendStereoOutput(5, DELAY_MAIN_L, DELAY_MAIN_R);
    SendStereoOutput(6, DELAY_REAR_L, DELAY_REAR_R);
    SendStereoOutput(9, DELAY_TOP_L, DELAY_TOP_R);
    SendMonoOutput(7, 16, DELAY_CENTER);
    SendMonoOutput(8, 26, DELAY_SUB);

    // 8. Compressors.
    for (CompressorOutput c : {COMP_MAIN, COMP_REAR, COMP_TOP, COMP_CENTER, COMP_SUB}) {
        SendCompressor(c);
    }

    // 9. Phase, auto SUB, mic boost and the music low-frequency path.
    Send(1, 31);
    Send(1, 44);
    Send(1, 57);
    Send(1, 58);
    Send(1, 65);
    Send(1, 69);
    SendMicBoostLevel();
    Send(4, 30);
    Send(4, 31);
}

void WriteDeviceMemoryForPush()
{
    constexpr int kPiece = 56;
    const std::vector<uint8_t> image = DeviceImage.Snapshot();
    for (int address = 0; address < kDeviceImageSize; address += kPiece) {
        const size_t n = static_cast<size_t>(std::min(kPiece, kDeviceImageSize - address));
        WriteDeviceBlock(address, std::span(image).subspan(static_cast<size_t>(address), n));
    }
    WriteDeviceBlock(Block945.Address(), Block945.Snapshot());
    WriteDeviceBlock(Block965.Address(), Block965.Snapshot());
}

void PushWholeSetting(int rampSwitch, const std::function<void()>& encodeBlock945)
{
    SendAllParams(rampSwitch);
    if (encodeBlock945) {
        encodeBlock945();
    }
    WriteDeviceMemoryForPush();
    ResendAllEq();
    if (rampSwitch == 1) {
        RampVolumes();
    }
}
