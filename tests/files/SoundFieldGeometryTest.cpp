// The sound-field geometry and its 20-byte stored form.
#include "model/SoundFieldGeometry.h"

#include "model/DeviceMemory.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <thread>

namespace {
const Block945Bytes kResetAllBlock = {0x04, 0x04, 0x00, 0x00, 0x8A, 0x0A, 0x00, 0x0A, 0x0A, 0x0A,
                                      0x8A, 0x8A, 0x00, 0x8A, 0x0A, 0x8A, 0x85, 0x00, 0x05, 0x00};
}

TEST(SoundFieldGeometry, CoordinateEncoding)
{
    const float inf = std::numeric_limits<float>::infinity();
    const struct
    {
        float metres;
        uint8_t byte;
    } cases[] = {
        {0.0f, 0x00},   {0.5f, 0x05},   {-1.0f, 0x8A},
        {1.0f, 0x0A},   {-0.05f, 0x81}, {0.05f, 0x01},
        {0.04f, 0x00},  {-0.04f, 0x00}, {-0.0f, 0x00},
        {0.35f, 0x04},  {-0.35f, 0x84}, {0.45f, 0x05},
        {-0.25f, 0x83}, {0.149f, 0x01}, {2.5f, 0x19},
        {-2.5f, 0x99},  {5.0f, 0x32},   {12.7f, 0x7F},
        {12.76f, 0x7F}, {100.0f, 0x7F}, {-100.0f, 0xFF},
        {inf, 0x7F},    {-inf, 0xFF},   {std::numeric_limits<float>::quiet_NaN(), 0x00},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EncodeSoundFieldCoordinate(c.metres), c.byte) << c.metres;
    }
}

TEST(SoundFieldGeometry, CoordinateDecodingIsSignAndMagnitudeInTenths)
{
    EXPECT_FLOAT_EQ(DecodeSoundFieldCoordinate(0x8A), -1.0f);
    EXPECT_FLOAT_EQ(DecodeSoundFieldCoordinate(0x05), 0.5f);
    EXPECT_FLOAT_EQ(DecodeSoundFieldCoordinate(0x7F), 12.7f);
    EXPECT_FLOAT_EQ(DecodeSoundFieldCoordinate(0xFF), -12.7f);
    // 0x80 is a negative zero on the wire; it decodes to a plain zero (no "-0.0m").
    EXPECT_FALSE(std::signbit(DecodeSoundFieldCoordinate(0x80)));
}

TEST(SoundFieldGeometry, EveryByteSurvivesDecodeAndEncode)
{
    for (int b = 0; b < 256; ++b) {
        const auto byte = static_cast<uint8_t>(b);
        const uint8_t expected = byte == 0x80 ? 0x00 : byte;
        EXPECT_EQ(EncodeSoundFieldCoordinate(DecodeSoundFieldCoordinate(byte)), expected) << b;
    }
}

TEST(SoundFieldGeometry, ResetAllGeometryEncodesToItsBlock)
{
    EXPECT_EQ(EncodeSoundFieldGeometry(DefaultSoundFieldGeometry()), kResetAllBlock);
    EXPECT_EQ(DecodeSoundFieldGeometry(kResetAllBlock), DefaultSoundFieldGeometry());
    const SoundFieldGeometry g = DefaultSoundFieldGeometry();
    EXPECT_EQ(g.points[SF_MAIN_L], (SoundFieldPosition{-1.0f, 1.0f}));
    EXPECT_EQ(g.points[SF_TOP_R], (SoundFieldPosition{0.5f, 0.0f}));
}

TEST(SoundFieldGeometry, RoomSizeIsLimitedToOneToTenMetres)
{
    SoundFieldGeometry g;
    const struct
    {
        int32_t metres;
        uint8_t byte;
    } encodeCases[] = {{0, 1}, {-3, 1}, {1, 1}, {5, 5}, {10, 10}, {11, 10}, {1000, 10}};
    for (const auto& c : encodeCases) {
        g.width = c.metres;
        g.length = c.metres;
        const Block945Bytes b = EncodeSoundFieldGeometry(g);
        EXPECT_EQ(b[0], c.byte) << c.metres;
        EXPECT_EQ(b[1], c.byte) << c.metres;
    }
    Block945Bytes bytes = kResetAllBlock;
    bytes[0] = 0;
    bytes[1] = 200;
    const SoundFieldGeometry decoded = DecodeSoundFieldGeometry(bytes);
    EXPECT_EQ(decoded.width, 1);
    EXPECT_EQ(decoded.length, 10);
}

TEST(SoundFieldGeometry, PositionsOutsideTheRoomAreKept)
{
    SoundFieldGeometry g = DefaultSoundFieldGeometry();
    g.width = 2;
    g.points[SF_REAR_R] = {3.0f, -4.5f};
    EXPECT_EQ(DecodeSoundFieldGeometry(EncodeSoundFieldGeometry(g)).points[SF_REAR_R],
              (SoundFieldPosition{3.0f, -4.5f}));
}

TEST(SoundFieldGeometry, StartupMemoryHoldsTheResetAllBlockAndGeometry)
{
    SetSoundFieldPoint(SF_SUB, 2.0f, 2.0f);
    ResetDeviceMemoryToStartup();
    Block945Bytes bytes{};
    Block945.Read(0, bytes);
    EXPECT_EQ(bytes, kResetAllBlock);
    EXPECT_EQ(CurrentSoundFieldGeometry(), DefaultSoundFieldGeometry());
}

TEST(SoundFieldGeometry, Block945DecodesIntoAndEncodesFromTheCurrentGeometry)
{
    ResetDeviceMemoryToStartup();
    Block945Bytes bytes = kResetAllBlock;
    bytes[0] = 7;
    bytes[2] = 0x8F; // listener x -1.5
    Block945.Write(0, bytes);
    DecodeBlock945IntoGeometry();
    const SoundFieldGeometry g = CurrentSoundFieldGeometry();
    EXPECT_EQ(g.width, 7);
    EXPECT_FLOAT_EQ(g.points[SF_LISTENER].x, -1.5f);

    SetSoundFieldPoint(SF_CENTER, 0.3f, -0.05f);
    SetSoundFieldRoom(0, 12);
    SetSoundFieldPoint(9, 1.0f, 1.0f); // no such point: ignored
    EncodeGeometryIntoBlock945();
    Block945.Read(0, bytes);
    EXPECT_EQ(bytes[0], 1);
    EXPECT_EQ(bytes[1], 10);
    EXPECT_EQ(bytes[6], 0x03);
    EXPECT_EQ(bytes[7], 0x81);
    ResetDeviceMemoryToStartup();
}

TEST(SoundFieldGeometry, ReadersNeverSeeAHalfWrittenGeometry)
{
    SoundFieldGeometry a = DefaultSoundFieldGeometry();
    SoundFieldGeometry b;
    b.width = 9;
    b.length = 9;
    for (auto& p : b.points) {
        p = {4.0f, -4.0f};
    }
    SetSoundFieldGeometry(a);
    std::thread writer([&] {
        for (int i = 0; i < 20000; ++i) {
            SetSoundFieldGeometry(i % 2 == 0 ? b : a);
        }
    });
    int torn = 0;
    for (int i = 0; i < 20000; ++i) {
        const SoundFieldGeometry g = CurrentSoundFieldGeometry();
        torn += (g == a || g == b) ? 0 : 1;
    }
    writer.join();
    EXPECT_EQ(torn, 0);
    SetSoundFieldGeometry(DefaultSoundFieldGeometry());
}
