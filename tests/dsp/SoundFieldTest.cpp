#include "dsp/SoundField.h"

#include "dsp/DspFixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {
using SoundFieldOps = DspFixture;

struct LevelParam
{
    int block;
    int param;
};
// The level parameter of points 1..8, in point order.
constexpr LevelParam kPointParams[] = {{5, 28}, {7, 23}, {5, 29}, {6, 28},
                                       {8, 33}, {6, 29}, {9, 28}, {9, 29}};
// The Block965 slot of points 1..8.
constexpr size_t kPointSlots[] = {0, 4, 1, 2, 5, 3, 6, 7};

const Block945Bytes kResetBlock945 = {0x04, 0x04, 0x00, 0x00, 0x8A, 0x0A, 0x00, 0x0A, 0x0A, 0x0A,
                                      0x8A, 0x8A, 0x00, 0x8A, 0x0A, 0x8A, 0x85, 0x00, 0x05, 0x00};

bool IsBlock(const SentReport& s, int address)
{
    return s.command == kCmdWriteBlock && s.address == address;
}

// A level write as it reaches the processor: the whole of Block965, then the level block.
// Checks the pair at reports[at], at+1 for point `point` at level v.
void ExpectLevelPair(const std::vector<SentReport>& r, size_t at, int point, float v)
{
    ASSERT_LT(at + 1, r.size());
    SCOPED_TRACE("point " + std::to_string(point));
    const SentReport& block = r[at];
    ASSERT_TRUE(IsBlock(block, 965));
    ASSERT_EQ(block.data.size(), 32u);
    const size_t slot = kPointSlots[point - 1];
    EXPECT_EQ(GetFloatBE(&block.data[4 * slot]), v);
    const SentReport& level = r[at + 1];
    const LevelParam p = kPointParams[point - 1];
    ASSERT_TRUE(level.Is(p.block, p.param));
    EXPECT_EQ(level.count, 6);
    EXPECT_FLOAT_EQ(level.Float(0),
                    static_cast<float>(std::pow(10.0, static_cast<double>(v) / 20.0)));
}

SoundFieldPosition Point(int p)
{
    return CurrentSoundFieldGeometry().points[static_cast<size_t>(p)];
}
} // namespace

TEST(SoundFieldLevel, ThreeMinusThreeTimesTheDistance)
{
    struct Row
    {
        SoundFieldPosition listener, speaker;
        float level;
    };
    const Row rows[] = {
        {{0, 0}, {0, 0}, 3.0f},         // on the listener
        {{1.5f, -2}, {1.5f, -2}, 3.0f}, //
        {{0, 0}, {1, 0}, 0.0f},         // 1 m
        {{0, 0}, {0, -1}, 0.0f},        //
        {{0, 0}, {0, 4}, -9.0f},        // 4 m
        {{-2, 0}, {2, 0}, -9.0f},       //
        {{1, 1}, {4, 5}, -12.0f},       // 3-4-5: no lower limit
        {{-5, -5}, {5, 5}, 3.0f - 3.0f * std::sqrt(200.0f)},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(SoundFieldLevel(r.listener, r.speaker), r.level)
            << r.speaker.x << "," << r.speaker.y;
    }
    // Single precision throughout: (0.1, 0.2) from the origin.
    const float dx = 0.1f, dy = 0.2f;
    EXPECT_EQ(SoundFieldLevel({0, 0}, {dx, dy}), 3.0f - 3.0f * std::sqrt(dx * dx + dy * dy));
}

TEST(SoundFieldMapping, EdgesCentreAndInverse)
{
    // 660 x 460 client at (10, 20): inner 600 x 400 pixels for a 6 m x 4 m room.
    const SoundFieldView v{10, 20, 660, 460, 6, 4};
    const SoundFieldPixel centre = PixelFromMetres(v, {0, 0});
    EXPECT_FLOAT_EQ(centre.x, 10 + 30 + 300);
    EXPECT_FLOAT_EQ(centre.y, 20 + 30 + 200);
    const SoundFieldPixel frontRight = PixelFromMetres(v, {3, 2});
    EXPECT_FLOAT_EQ(frontRight.x, 10 + 30 + 600);
    EXPECT_FLOAT_EQ(frontRight.y, 20 + 30); // the front is at the top
    const SoundFieldPixel rearLeft = PixelFromMetres(v, {-3, -2});
    EXPECT_FLOAT_EQ(rearLeft.x, 40);
    EXPECT_FLOAT_EQ(rearLeft.y, 450);
    const SoundFieldPixel p = PixelFromMetres(v, {1, -0.5f});
    EXPECT_FLOAT_EQ(p.x, 40 + 100 * 4);
    EXPECT_FLOAT_EQ(p.y, 50 + 100 * 2.5f);

    for (const SoundFieldPosition m : {SoundFieldPosition{1.3f, -0.7f}, {-2.9f, 1.9f}, {0, 0}}) {
        const SoundFieldPosition back = MetresFromPixel(v, PixelFromMetres(v, m));
        EXPECT_NEAR(back.x, m.x, 1e-5);
        EXPECT_NEAR(back.y, m.y, 1e-5);
    }
}

TEST(SoundFieldMapping, PointerHeldInsideTheMarginAndTinyDrawing)
{
    const SoundFieldView v{0, 0, 400, 300, 4, 4};
    const SoundFieldPixel c = ClampToInner(v, {-50, 1000});
    EXPECT_EQ(c.x, 30);
    EXPECT_EQ(c.y, 270);
    const SoundFieldPixel inside = ClampToInner(v, {123, 45});
    EXPECT_EQ(inside.x, 123);
    EXPECT_EQ(inside.y, 45);
    // A clamped pointer lands on the room's edge, never beyond it.
    const SoundFieldPosition edge = MetresFromPixel(v, ClampToInner(v, {500, -20}));
    EXPECT_FLOAT_EQ(edge.x, 2.0f);
    EXPECT_FLOAT_EQ(edge.y, 2.0f);

    // No room inside the margins: the centre, never a division by zero.
    const SoundFieldView tiny{0, 0, 50, 40, 4, 4};
    const SoundFieldPosition m = MetresFromPixel(tiny, {25, 20});
    EXPECT_EQ(m.x, 0.0f);
    EXPECT_EQ(m.y, 0.0f);
    const SoundFieldPixel held = ClampToInner(tiny, {0, 0});
    EXPECT_EQ(held.x, 30);
    EXPECT_EQ(held.y, 30);
}

TEST(SoundFieldGrid, LinesAndLabels)
{
    EXPECT_EQ(SoundFieldGridLines(4), (std::vector<int>{-1, 0, 1}));
    EXPECT_EQ(SoundFieldGridLines(5), (std::vector<int>{-2, -1, 0, 1, 2}));
    EXPECT_EQ(SoundFieldGridLines(1), (std::vector<int>{0}));
    EXPECT_EQ(SoundFieldGridLines(2), (std::vector<int>{0}));
    EXPECT_EQ(SoundFieldGridLines(10).size(), 9u);
    EXPECT_EQ(SoundFieldGridLabel(0), "0");
    EXPECT_EQ(SoundFieldGridLabel(2), "+2m");
    EXPECT_EQ(SoundFieldGridLabel(-3), "-3m");

    // A 5 m room: edges 2.5 m either side, in tenths; spin range -25..25 tenths.
    EXPECT_EQ(SoundFieldEdgeLabel(5, true), "+2.5m");
    EXPECT_EQ(SoundFieldEdgeLabel(5, false), "-2.5m");
    EXPECT_EQ(PositionSpinLimit(5), 25);
    EXPECT_EQ(SoundFieldEdgeLabel(4, true), "+2m");
    EXPECT_EQ(SoundFieldEdgeLabel(4, false), "-2m");
    EXPECT_EQ(SoundFieldEdgeLabel(1, true), "+0.5m");
    EXPECT_EQ(SoundFieldEdgeLabel(10, false), "-5m");
    EXPECT_EQ(PositionSpinLimit(10), 50);
    EXPECT_EQ(PositionSpinLimit(0), 5); // rooms are at least 1 m
}

TEST(SoundFieldText, PositionsAndRoomSizes)
{
    EXPECT_EQ(SoundFieldPositionText(1.0f), "+1.0m");
    EXPECT_EQ(SoundFieldPositionText(-0.5f), "-0.5m");
    EXPECT_EQ(SoundFieldPositionText(0.0f), "+0.0m");
    EXPECT_EQ(SoundFieldPositionText(std::numeric_limits<float>::quiet_NaN()), "+0.0m");

    struct Row
    {
        const char* text;
        float metres;
    };
    const Row rows[] = {{"+1.5m", 1.5f}, {"-2.3m", -2.3f}, {" 0.7", 0.7f}, {"3", 3.0f},
                        {"abc", 0.0f},   {"", 0.0f},       {"-", 0.0f},    {"1e3", 1.0f}};
    for (const Row& r : rows) {
        EXPECT_EQ(ParseSoundFieldPosition(r.text), r.metres) << r.text;
    }
    EXPECT_GT(ParseSoundFieldPosition("99999999999999999999999999999999999999999999999"), 1e30f);

    EXPECT_EQ(ParseRoomMetres("5m"), 5);
    EXPECT_EQ(ParseRoomMetres(" 12"), 12);
    EXPECT_EQ(ParseRoomMetres("-3m"), -3);
    EXPECT_EQ(ParseRoomMetres("m"), 0);
    EXPECT_EQ(ParseRoomMetres("99999999999999"), std::numeric_limits<int>::max());
    EXPECT_EQ(LimitRoomMetres(0), 1);
    EXPECT_EQ(LimitRoomMetres(-3), 1);
    EXPECT_EQ(LimitRoomMetres(12), 10);
}

TEST(SoundFieldRoom, PositionsLimitedToTheRoom)
{
    const SoundFieldPosition a = LimitToRoom({3.7f, -9.0f}, 5, 4);
    EXPECT_EQ(a.x, 2.5f);
    EXPECT_EQ(a.y, -2.0f);
    const SoundFieldPosition b = LimitToRoom({-0.3f, 1.2f}, 5, 4);
    EXPECT_EQ(b.x, -0.3f);
    EXPECT_EQ(b.y, 1.2f);
    const SoundFieldPosition c = LimitToRoom({std::numeric_limits<float>::quiet_NaN(), 100}, 0, 0);
    EXPECT_EQ(c.x, 0.0f);
    EXPECT_EQ(c.y, 0.5f);
    EXPECT_EQ(PositionTenths(-0.05f), -1);
    EXPECT_EQ(PositionTenths(0.25f), 3);
    EXPECT_EQ(PositionTenths(-2.5f), -25);
}

TEST_F(SoundFieldOps, ResetAllWritesZeroLevelsThenTheStartUpGeometry)
{
    SetSoundFieldRoom(7, 3);
    SetSoundFieldPoint(SF_LISTENER, 2.0f, -1.0f);
    SetSoundFieldPoint(SF_TOP_R, -3.0f, 1.0f);
    WriteSpeakerLevel(SPK_SUB, -6.0f);
    sink.Clear();

    ResetSoundField();

    const std::vector<SentReport> r = Sent();
    ASSERT_EQ(r.size(), 17u);
    for (int point = 1; point <= 8; ++point) {
        ExpectLevelPair(r, static_cast<size_t>(2 * (point - 1)), point, 0.0f);
        EXPECT_EQ(r[static_cast<size_t>(2 * point - 1)].Word(1), 0x3F800000u); // s = 1.0
    }
    // After the last level every slot holds 0 dB.
    for (size_t i = 0; i < 32; ++i) {
        EXPECT_EQ(r[14].data[i], 0) << i;
    }
    ASSERT_TRUE(IsBlock(r[16], 945));
    EXPECT_EQ(r[16].data, std::vector<uint8_t>(kResetBlock945.begin(), kResetBlock945.end()));
    EXPECT_EQ(CurrentSoundFieldGeometry(), DefaultSoundFieldGeometry());
}

TEST_F(SoundFieldOps, ANegativeTwentiethIsStoredAsMinusOneTenth)
{
    MoveSoundFieldPoint(SF_SUB, {-0.05f, 0.05f}, SoundFieldMove::Typed);
    const std::vector<SentReport> r = Sent();
    ASSERT_FALSE(r.empty());
    ASSERT_TRUE(IsBlock(r[0], 945));
    EXPECT_EQ(r[0].data[12], 0x81);
    EXPECT_EQ(r[0].data[13], 0x01);
    // The geometry keeps the position as given.
    EXPECT_EQ(Point(SF_SUB).x, -0.05f);
}

TEST_F(SoundFieldOps, MovingASpeakerWritesItsLevelAndTheGeometry)
{
    // Listener at the centre; Rear R moved 4 m behind it: -9 dB into slot 3 and (6,29).
    MoveSoundFieldPoint(SF_REAR_R, {0.0f, -4.0f}, SoundFieldMove::Dragged);
    std::vector<SentReport> r = Sent();
    ASSERT_EQ(r.size(), 3u);
    ExpectLevelPair(r, 0, SF_REAR_R, -9.0f);
    ASSERT_TRUE(IsBlock(r[2], 945));
    EXPECT_EQ(r[2].data[14], 0x00);
    EXPECT_EQ(r[2].data[15], 0xA8); // -4.0 m
    EXPECT_EQ(Block965.Snapshot(), r[0].data);
    EXPECT_EQ(Point(SF_REAR_R), (SoundFieldPosition{0.0f, -4.0f}));

    // Typed: the geometry first, then the level; only this speaker's slot changes.
    sink.Clear();
    MoveSoundFieldPoint(SF_TOP_L, {-0.5f, 1.0f}, SoundFieldMove::Typed);
    r = Sent();
    ASSERT_EQ(r.size(), 3u);
    ASSERT_TRUE(IsBlock(r[0], 945));
    EXPECT_EQ(r[0].data[16], 0x85);
    EXPECT_EQ(r[0].data[17], 0x0A);
    const float level = 3.0f - 3.0f * std::sqrt(0.25f + 1.0f);
    ExpectLevelPair(r, 1, SF_TOP_L, level);
    EXPECT_EQ(GetFloatBE(&r[1].data[4 * 3]), -9.0f); // Rear R keeps its level
}

TEST_F(SoundFieldOps, MovingTheListenerWritesTheGeometryThenAllEightLevels)
{
    for (const SoundFieldMove how : {SoundFieldMove::Dragged, SoundFieldMove::Typed}) {
        ResetDeviceMemoryToStartup();
        sink.Clear();
        MoveSoundFieldPoint(SF_LISTENER, {1.0f, 1.0f}, how);
        const std::vector<SentReport> r = Sent();
        ASSERT_EQ(r.size(), 17u);
        ASSERT_TRUE(IsBlock(r[0], 945));
        EXPECT_EQ(r[0].data[2], 0x0A);
        EXPECT_EQ(r[0].data[3], 0x0A);
        const SoundFieldGeometry g = DefaultSoundFieldGeometry();
        for (int point = 1; point <= 8; ++point) {
            const SoundFieldPosition s = g.points[static_cast<size_t>(point)];
            ExpectLevelPair(r, static_cast<size_t>(2 * point - 1), point,
                            SoundFieldLevel({1.0f, 1.0f}, s));
        }
        // Main R sits on the listener now.
        ASSERT_EQ(r[15].data.size(), 32u);
        EXPECT_EQ(GetFloatBE(&r[15].data[4 * 1]), 3.0f);
    }
}

TEST_F(SoundFieldOps, CenterMovesOnlyTheListener)
{
    SetSoundFieldPoint(SF_LISTENER, -2.0f, 1.5f);
    const SoundFieldGeometry before = CurrentSoundFieldGeometry();
    CenterSoundFieldListener();
    SoundFieldGeometry expected = before;
    expected.points[SF_LISTENER] = {0.0f, 0.0f};
    EXPECT_EQ(CurrentSoundFieldGeometry(), expected);
    const std::vector<SentReport> r = Sent();
    ASSERT_EQ(r.size(), 17u);
    EXPECT_TRUE(IsBlock(r[0], 945));
    ExpectLevelPair(r, 1, SF_MAIN_L, 3.0f - 3.0f * std::sqrt(2.0f));
    ExpectLevelPair(r, 15, SF_TOP_R, 1.5f);
}

TEST_F(SoundFieldOps, ShrinkingTheRoomLeavesPointsAndLevelsAlone)
{
    SetSoundFieldPoint(SF_MAIN_L, -3.0f, 4.0f);
    const SoundFieldGeometry before = CurrentSoundFieldGeometry();
    const std::vector<uint8_t> levels = Block965.Snapshot();

    SetSoundFieldRoomSize(2, 0);

    const std::vector<SentReport> r = Sent();
    ASSERT_EQ(r.size(), 1u);
    ASSERT_TRUE(IsBlock(r[0], 945));
    EXPECT_EQ(r[0].data[0], 2);
    EXPECT_EQ(r[0].data[1], 1);    // 0 m becomes 1 m
    EXPECT_EQ(r[0].data[4], 0x9E); // Main L still at -3.0, 4.0
    EXPECT_EQ(r[0].data[5], 0x28);
    SoundFieldGeometry expected = before;
    expected.width = 2;
    expected.length = 1;
    EXPECT_EQ(CurrentSoundFieldGeometry(), expected);
    EXPECT_EQ(Block965.Snapshot(), levels);

    SetSoundFieldRoomSize(40, 10);
    EXPECT_EQ(CurrentSoundFieldGeometry().width, 10);
}

TEST_F(SoundFieldOps, BadPointNumbersDoNothing)
{
    const SoundFieldGeometry before = CurrentSoundFieldGeometry();
    MoveSoundFieldPoint(9, {1, 1}, SoundFieldMove::Dragged);
    MoveSoundFieldPoint(-1, {1, 1}, SoundFieldMove::Typed);
    EXPECT_EQ(WriteSoundFieldLevel(SF_LISTENER, {0, 0}), 0.0f);
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(CurrentSoundFieldGeometry(), before);
}
