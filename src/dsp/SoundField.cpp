#include "dsp/SoundField.h"

#include "model/DeviceMemory.h"
#include "model/Writer.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace {
// Block965 slot of points 1..8.
constexpr std::array<Speaker, kSoundFieldPointCount - 1> kPointSpeakers = {
    SPK_MAIN_L, SPK_CENTER, SPK_MAIN_R, SPK_REAR_L, SPK_SUB, SPK_REAR_R, SPK_TOP_L, SPK_TOP_R};

float Finite(float v)
{
    return std::isfinite(v) ? v : 0.0f;
}

// Skips leading blanks and a plus sign (from_chars takes only a minus).
std::string_view NumberStart(const std::string& text, bool& negative)
{
    std::string_view s(text);
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) {
        s.remove_prefix(1);
    }
    negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    return s;
}

void WriteAllLevels()
{
    for (int point = 1; point < kSoundFieldPointCount; ++point) {
        WriteSoundFieldLevel(point, CurrentSoundFieldGeometry().points[static_cast<size_t>(point)]);
    }
}
} // namespace

float SoundFieldLevel(SoundFieldPosition listener, SoundFieldPosition speaker)
{
    const float dx = listener.x - speaker.x;
    const float dy = listener.y - speaker.y;
    const float d = std::sqrt(dx * dx + dy * dy);
    return 3.0f - 3.0f * d;
}

std::optional<Speaker> SpeakerOfPoint(int point)
{
    if (point < 1 || point >= kSoundFieldPointCount) {
        return std::nullopt;
    }
    return kPointSpeakers[static_cast<size_t>(point - 1)];
}

SoundFieldPosition LimitToRoom(SoundFieldPosition position, int width, int length)
{
    const float halfW = static_cast<float>(LimitRoomMetres(width)) / 2.0f;
    const float halfL = static_cast<float>(LimitRoomMetres(length)) / 2.0f;
    return {std::clamp(Finite(position.x), -halfW, halfW),
            std::clamp(Finite(position.y), -halfL, halfL)};
}

int PositionSpinLimit(int roomMetres)
{
    return LimitRoomMetres(roomMetres) * 5;
}

int LimitRoomMetres(int metres)
{
    return std::clamp(metres, kMinRoomMetres, kMaxRoomMetres);
}

int PositionTenths(float metres)
{
    const float tenths = std::round(std::clamp(Finite(metres) * 10.0f, -1.0e6f, 1.0e6f));
    return static_cast<int>(tenths);
}

SoundFieldPixel PixelFromMetres(const SoundFieldView& v, SoundFieldPosition m)
{
    const float innerW = v.width - 2.0f * kSoundFieldMargin;
    const float innerH = v.height - 2.0f * kSoundFieldMargin;
    return {v.left + kSoundFieldMargin + innerW / v.roomWidth * (v.roomWidth / 2.0f + m.x),
            v.top + kSoundFieldMargin + innerH / v.roomLength * (v.roomLength / 2.0f - m.y)};
}

SoundFieldPosition MetresFromPixel(const SoundFieldView& v, SoundFieldPixel p)
{
    const float innerW = v.width - 2.0f * kSoundFieldMargin;
    const float innerH = v.height - 2.0f * kSoundFieldMargin;
    SoundFieldPosition m;
    if (innerW > 0.0f) {
        m.x = (p.x - v.left - kSoundFieldMargin) * v.roomWidth / innerW - v.roomWidth / 2.0f;
    }
    if (innerH > 0.0f) {
        m.y = v.roomLength / 2.0f - (p.y - v.top - kSoundFieldMargin) * v.roomLength / innerH;
    }
    return m;
}

SoundFieldPixel ClampToInner(const SoundFieldView& v, SoundFieldPixel p)
{
    const float x0 = v.left + kSoundFieldMargin;
    const float y0 = v.top + kSoundFieldMargin;
    const float x1 = std::max(x0, v.left + v.width - kSoundFieldMargin);
    const float y1 = std::max(y0, v.top + v.height - kSoundFieldMargin);
    return {std::clamp(p.x, x0, x1), std::clamp(p.y, y0, y1)};
}

std::vector<int> SoundFieldGridLines(int roomMetres)
{
    const int side = LimitRoomMetres(roomMetres);
    std::vector<int> lines;
    // k strictly inside the half side: 2k < side.
    for (int k = -(side - 1) / 2; 2 * k < side; ++k) {
        lines.push_back(k);
    }
    return lines;
}

std::string SoundFieldGridLabel(int metres)
{
    if (metres == 0) {
        return "0";
    }
    char text[16];
    std::snprintf(text, sizeof text, metres > 0 ? "+%dm" : "-%dm", std::abs(metres));
    return text;
}

std::string SoundFieldEdgeLabel(int roomMetres, bool positive)
{
    const int side = LimitRoomMetres(roomMetres);
    const double half = side / 2.0;
    const bool whole = side % 2 == 0;
    char text[16];
    if (positive) {
        std::snprintf(text, sizeof text, whole ? "+%.0fm" : "+%.1fm", half);
    } else {
        std::snprintf(text, sizeof text, whole ? "-%.0fm" : "-%.1fm", half);
    }
    return text;
}

std::string SoundFieldPositionText(float metres)
{
    char text[32];
    std::snprintf(text, sizeof text, "%+-.1fm", static_cast<double>(Finite(metres)));
    return text;
}

float ParseSoundFieldPosition(const std::string& text)
{
    bool negative = false;
    const std::string_view s = NumberStart(text, negative);
    float value = 0.0f;
    const auto [end, ec] =
        std::from_chars(s.data(), s.data() + s.size(), value, std::chars_format::fixed);
    if (ec == std::errc::result_out_of_range) {
        value = std::numeric_limits<float>::max();
    } else if (ec != std::errc{} || !std::isfinite(value)) {
        return 0.0f;
    }
    return negative ? -value : value;
}

int ParseRoomMetres(const std::string& text)
{
    bool negative = false;
    const std::string_view s = NumberStart(text, negative);
    int value = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec == std::errc::result_out_of_range) {
        value = std::numeric_limits<int>::max();
    } else if (ec != std::errc{}) {
        return 0;
    }
    return negative ? -value : value;
}

float WriteSoundFieldLevel(int point, SoundFieldPosition at)
{
    const std::optional<Speaker> speaker = SpeakerOfPoint(point);
    if (!speaker) {
        return 0.0f;
    }
    const float level = SoundFieldLevel(CurrentSoundFieldGeometry().points[SF_LISTENER], at);
    WriteSpeakerLevel(*speaker, level);
    return level;
}

void WriteSoundFieldGeometry()
{
    EncodeGeometryIntoBlock945();
    WriteDeviceBlock(Block945.Address(), Block945.Snapshot());
}

void MoveSoundFieldPoint(int point, SoundFieldPosition at, SoundFieldMove how)
{
    if (point < 0 || point >= kSoundFieldPointCount) {
        return;
    }
    if (point == SF_LISTENER) {
        SetSoundFieldPoint(point, at.x, at.y);
        WriteSoundFieldGeometry();
        WriteAllLevels();
        return;
    }
    if (how == SoundFieldMove::Dragged) {
        WriteSoundFieldLevel(point, at);
    }
    SetSoundFieldPoint(point, at.x, at.y);
    WriteSoundFieldGeometry();
    if (how == SoundFieldMove::Typed) {
        WriteSoundFieldLevel(point, at);
    }
}

void SetSoundFieldRoomSize(int width, int length)
{
    SetSoundFieldRoom(LimitRoomMetres(width), LimitRoomMetres(length));
    WriteSoundFieldGeometry();
}

void CenterSoundFieldListener()
{
    MoveSoundFieldPoint(SF_LISTENER, {0.0f, 0.0f}, SoundFieldMove::Typed);
}

void ResetSoundField()
{
    for (const Speaker speaker : kPointSpeakers) {
        WriteSpeakerLevel(speaker, 0.0f);
    }
    Block945.Write(0, EncodeSoundFieldGeometry(DefaultSoundFieldGeometry()));
    DecodeBlock945IntoGeometry();
    WriteDeviceBlock(Block945.Address(), Block945.Snapshot());
}
