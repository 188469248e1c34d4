#pragma once
// Where the keys sit on the picture of the remote control, shared by the remote-control
// window (its clickable spots) and the artwork generator that draws the picture. Positions
// are in the picture's logical pixels.

#include <array>

namespace remote_layout {

inline constexpr int kPictureWidth = 200;
inline constexpr int kPictureHeight = 440;
inline constexpr int kHelpWidth = 270;
inline constexpr int kHelpHeight = 440;

// Picture numbers: the remote, and the help in Chinese and English.
inline constexpr int kRemotePicture = 4240;
inline constexpr int kHelpPictureChinese = 4241;
inline constexpr int kHelpPictureEnglish = 4242;

struct Key
{
    int function; // 1..15, or 0 for a key the processor cannot learn
    int x;
    int y;
    int width;
    int height;
    const char* label; // drawn on the key (UTF-8)
};

inline constexpr int kKeyCount = 18;

// clang-format off
inline constexpr std::array<Key, kKeyCount> kKeys = {{
    {0, 140, 30, 36, 24, "POWER"},
    {1, 26, 84, 32, 26, "M1"}, {2, 64, 84, 32, 26, "M2"},
    {3, 102, 84, 32, 26, "M3"}, {4, 140, 84, 32, 26, "M4"},
    {5, 26, 142, 68, 28, "MIC +"}, {6, 26, 178, 68, 28, "MIC −"},
    {7, 106, 142, 68, 28, "MUSIC +"}, {8, 106, 178, 68, 28, "MUSIC −"},
    {9, 56, 216, 88, 26, "MUTE"},
    {10, 26, 272, 46, 28, "♯"}, {11, 77, 272, 46, 28, "♮"}, {12, 128, 272, 46, 28, "♭"},
    {13, 56, 310, 88, 26, "INPUT"},
    {14, 26, 358, 68, 28, "EFX +"}, {15, 106, 358, 68, 28, "EFX −"},
    {0, 26, 398, 68, 22, "DISP"}, {0, 106, 398, 68, 22, "SLEEP"},
}};
// clang-format on

// The key under a point of the picture, or -1.
constexpr int KeyAt(int x, int y)
{
    for (int i = 0; i < kKeyCount; ++i) {
        const Key& k = kKeys[static_cast<size_t>(i)];
        if (x >= k.x && x < k.x + k.width && y >= k.y && y < k.y + k.height) {
            return i;
        }
    }
    return -1;
}

} // namespace remote_layout
