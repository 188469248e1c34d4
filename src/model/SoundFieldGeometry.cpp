#include "model/SoundFieldGeometry.h"

#include "model/DeviceMemory.h"

#include <algorithm>
#include <cmath>
#include <mutex>

namespace {
constexpr SoundFieldGeometry kDefaultGeometry{
    4,
    4,
    {{{0.0f, 0.0f},
      {-1.0f, 1.0f},
      {0.0f, 1.0f},
      {1.0f, 1.0f},
      {-1.0f, -1.0f},
      {0.0f, -1.0f},
      {1.0f, -1.0f},
      {-0.5f, 0.0f},
      {0.5f, 0.0f}}},
};

constinit std::mutex g_geometryLock;
// Constant-initialised, so it holds the start-up geometry before any other static
// initialiser (DeviceMemory's start-up fill) can touch it.
constinit SoundFieldGeometry g_geometry = kDefaultGeometry;

int32_t ClampRoom(int32_t metres)
{
    return std::clamp(metres, kMinRoomMetres, kMaxRoomMetres);
}
} // namespace

SoundFieldGeometry DefaultSoundFieldGeometry()
{
    return kDefaultGeometry;
}

uint8_t EncodeSoundFieldCoordinate(float metres)
{
    if (std::isnan(metres)) {
        return 0;
    }
    const float tenths = std::round(std::clamp(metres * 10.0f, -127.0f, 127.0f));
    const auto magnitude = static_cast<uint8_t>(std::fabs(tenths));
    if (magnitude == 0) {
        return 0;
    }
    return tenths < 0.0f ? static_cast<uint8_t>(0x80 | magnitude) : magnitude;
}

float DecodeSoundFieldCoordinate(uint8_t byte)
{
    const int magnitude = byte & 0x7F;
    if (magnitude == 0) {
        return 0.0f; // 0x80 is a plain zero, not -0.0
    }
    const float value = static_cast<float>(magnitude) / 10.0f;
    return (byte & 0x80) != 0 ? -value : value;
}

Block945Bytes EncodeSoundFieldGeometry(const SoundFieldGeometry& geometry)
{
    Block945Bytes bytes{};
    bytes[0] = static_cast<uint8_t>(ClampRoom(geometry.width));
    bytes[1] = static_cast<uint8_t>(ClampRoom(geometry.length));
    for (size_t p = 0; p < geometry.points.size(); ++p) {
        bytes[2 + 2 * p] = EncodeSoundFieldCoordinate(geometry.points[p].x);
        bytes[3 + 2 * p] = EncodeSoundFieldCoordinate(geometry.points[p].y);
    }
    return bytes;
}

SoundFieldGeometry DecodeSoundFieldGeometry(const Block945Bytes& bytes)
{
    SoundFieldGeometry geometry;
    geometry.width = ClampRoom(bytes[0]);
    geometry.length = ClampRoom(bytes[1]);
    for (size_t p = 0; p < geometry.points.size(); ++p) {
        geometry.points[p].x = DecodeSoundFieldCoordinate(bytes[2 + 2 * p]);
        geometry.points[p].y = DecodeSoundFieldCoordinate(bytes[3 + 2 * p]);
    }
    return geometry;
}

SoundFieldGeometry CurrentSoundFieldGeometry()
{
    std::lock_guard lock(g_geometryLock);
    return g_geometry;
}

void SetSoundFieldGeometry(const SoundFieldGeometry& geometry)
{
    std::lock_guard lock(g_geometryLock);
    g_geometry = geometry;
}

void SetSoundFieldPoint(int point, float x, float y)
{
    if (point < 0 || point >= kSoundFieldPointCount) {
        return;
    }
    std::lock_guard lock(g_geometryLock);
    g_geometry.points[static_cast<size_t>(point)] = SoundFieldPosition{x, y};
}

void SetSoundFieldRoom(int32_t width, int32_t length)
{
    std::lock_guard lock(g_geometryLock);
    g_geometry.width = ClampRoom(width);
    g_geometry.length = ClampRoom(length);
}

void DecodeBlock945IntoGeometry()
{
    Block945Bytes bytes{};
    Block945.Read(0, bytes);
    SetSoundFieldGeometry(DecodeSoundFieldGeometry(bytes));
}

void EncodeGeometryIntoBlock945()
{
    const Block945Bytes bytes = EncodeSoundFieldGeometry(CurrentSoundFieldGeometry());
    Block945.Write(0, bytes);
}
