#pragma once
// The sound-field room plan: room size and the positions of the listener and the eight
// speakers, and its stored form, the 20-byte Block945 of the processor's memory.
//
// One program-wide geometry exists. The read thread replaces it after a memory read and the
// UI thread edits and draws it, so it is kept behind a small lock and handed out by value.

#include <array>
#include <cstdint>

// Point numbers, in Block945 order.
enum SoundFieldPoint : int
{
    SF_LISTENER = 0,
    SF_MAIN_L = 1,
    SF_CENTER = 2,
    SF_MAIN_R = 3,
    SF_REAR_L = 4,
    SF_SUB = 5,
    SF_REAR_R = 6,
    SF_TOP_L = 7,
    SF_TOP_R = 8,
};

inline constexpr int kSoundFieldPointCount = 9;
inline constexpr int kMinRoomMetres = 1;
inline constexpr int kMaxRoomMetres = 10;
inline constexpr int kBlock945Size = 20;

using Block945Bytes = std::array<uint8_t, kBlock945Size>;

struct SoundFieldPosition
{
    float x = 0.0f; // metres, positive to the right
    float y = 0.0f; // metres, positive towards the front
    bool operator==(const SoundFieldPosition&) const = default;
};

struct SoundFieldGeometry
{
    int32_t width = 4;  // room width in whole metres, 1..10
    int32_t length = 4; // room length in whole metres, 1..10
    std::array<SoundFieldPosition, kSoundFieldPointCount> points{};
    bool operator==(const SoundFieldGeometry&) const = default;
};

// The geometry of "Reset all", which is also the start-up geometry: a 4 m x 4 m room, the
// listener in the centre, the front speakers 1 m ahead, the rear ones 1 m behind and the two
// top speakers half a metre to either side.
SoundFieldGeometry DefaultSoundFieldGeometry();

// One coordinate byte: sign and magnitude in tenths of a metre. The value is rounded to tenths
// half away from zero (the product with 10 taken in single precision, so a typed 0.35 gives
// 4 tenths), the magnitude limited to 127 tenths; zero never carries the sign bit. NaN is 0.
uint8_t EncodeSoundFieldCoordinate(float metres);
float DecodeSoundFieldCoordinate(uint8_t byte);

// Room sizes outside 1..10 are limited on both encoding and decoding (a corrupt block never
// yields an empty room); positions are never moved into the room.
Block945Bytes EncodeSoundFieldGeometry(const SoundFieldGeometry& geometry);
SoundFieldGeometry DecodeSoundFieldGeometry(const Block945Bytes& bytes);

// The program-wide geometry.
SoundFieldGeometry CurrentSoundFieldGeometry();
void SetSoundFieldGeometry(const SoundFieldGeometry& geometry);
// Point numbers outside 0..8 are ignored.
void SetSoundFieldPoint(int point, float x, float y);
void SetSoundFieldRoom(int32_t width, int32_t length);

// Block945 mirror -> program-wide geometry (after a memory read, a mode-file load, Reset all).
void DecodeBlock945IntoGeometry();
// Program-wide geometry -> Block945 mirror (before Block945 is written to the processor).
void EncodeGeometryIntoBlock945();
