#pragma once
// The processor's special functions as the features window and the command-line tool set
// them: mic boost, the music low-frequency path (low-pass band, delay, gain), music AGC and
// the automatic Sub decay. Every setter stores and writes at once; reading writes nothing.

#include <cstdint>

inline constexpr int kMicBoostMax = 40;       // dB
inline constexpr int kMusicLowPassMinHz = 20; // the low-pass slider's range
inline constexpr int kMusicLowPassMaxHz = 300;
inline constexpr int kMusicLowPassBand = 10; // band of the music equaliser
inline constexpr double kMusicLowPassQ = 0.707;
inline constexpr int kMusicLowPassDelayMax = 20; // ms
inline constexpr int kMusicLowPassGainMax = 800; // percent
inline constexpr int kMusicAgcMinTenths = -500;  // tenths of a dB
inline constexpr int kMusicAgcMaxTenths = 0;
inline constexpr int kMusicAgcFirstCmdSet = 9;
inline constexpr float kMusicAgcShownWithout = -10.0f; // dB shown by older command sets
inline constexpr int kAutoSubMax = 100;                // percent

// What the features window shows, read from the store, the band memory and Block997.
struct FeaturesShown
{
    bool boostOn = false;
    int boostDb = 0;              // slider 0..40: minus the kept level, truncated
    int lowPassHz = 100;          // slider, limited to 20..300
    double lowPassStoredHz = 100; // the stored frequency of the band
    int lowPassDelayMs = 0;       // slider 0..20
    int lowPassDelayStored = 0;   // the cell as stored
    int lowPassGain = 0;          // slider 0..800
    int lowPassGainStored = 0;
    bool agcAvailable = false; // command set 9 or newer
    bool agcOn = false;
    int agcTenths = -100; // slider -500..0
    float agcDb = -10.0f; // the level shown as "%.1fdB"
    bool autoSubOn = false;
    int autoSubLevel = 0; // slider 0..100
    int autoSubStored = 0;
};

FeaturesShown ReadFeatures();

// Each setter limits its value to the slider's range, stores it and writes it.
void SetFeatureMicBoostOn(bool on);
// WriteMicBoost with -dB.
void SetFeatureMicBoost(int dB);
// Music band 10 as a low pass at hz (gain 0, Q 0.707).
void SetMusicLowPassFrequency(int hz);
void SetMusicLowPassDelay(int ms);
void SetMusicLowPassGain(int percent);
// Music AGC: only with command set 9 or newer; otherwise nothing is stored or written and the
// result is false.
bool AgcAvailableNow();
bool SetFeatureMusicAgcOn(bool on);
bool SetFeatureMusicAgcTenths(int tenths);
void SetAutoSubOn(bool on);
void SetAutoSubLevel(int percent);

// The current music input level in dB: status byte 14 read as a signed byte.
int MusicInputLevelDb(uint8_t statusByte14);
