#pragma once
// The EQ band memory operations: where each equaliser's band records sit in DeviceImage,
// storing a band (mirror and processor memory), designing and writing its biquad, and the
// reset, copy and resend operations of whole equalisers.

#include "model/EqBandRecord.h"

// The page kind: names an equaliser, its region of DeviceImage and the page that edits it.
enum EqPanelKind : int
{
    EQ_KIND_MUSIC = 0,
    EQ_KIND_MIC_A = 1,
    EQ_KIND_SUB = 2,
    EQ_KIND_CENTER = 3,
    EQ_KIND_REAR = 4,
    EQ_KIND_MAIN = 5,
    EQ_KIND_REVERB_A = 6,
    EQ_KIND_ECHO_A = 7,
    EQ_KIND_MIC_B = 8,
    EQ_KIND_REVERB_B = 9,
    EQ_KIND_ECHO_B = 10,
    EQ_KIND_TOP = 11,
};
inline constexpr int kEqPanelKindCount = 12;

// Equaliser identifiers of the band operations are the DSP block numbers 1..9; mic B's bands
// are block 1's bands 10..19, echo B's and reverb B's blocks 2 and 3's bands 7..13.
// Byte offset base + 7 * band; any identifier below 2 or above 9 uses block 1's base 0.
int EqBandOffset(int eq, int band);

// Decodes the record at EqBandOffset(eq, band).
EqBand LoadEqBand(int eq, int band);

// Encodes the band, stores it in DeviceImage and writes the 7 bytes to the processor's memory
// at the same address. Returns false (nothing stored) when the record would not lie inside
// DeviceImage.
bool StoreEqBand(int eq, int band, double gainDb, int freqHz, double q, int type);

// Designs a band record and writes its biquad to (block, param).
void WriteEqBiquad(int block, int param, const EqBand& band);

// SetEqBand family: StoreEqBand, DesignBiquad, WriteBiquad to the equaliser's block at
// parameter band (+10 for mic B, +7 for echo B and reverb B). band counts from 0 within the
// equaliser; a band outside its region (mic 10, echo/reverb 7, music 11, main/rear/top 14,
// center 12, sub 22 bands) is refused with false and nothing is stored or sent.
bool SetMicAEqBand(int band, int type, double gainDb, int freqHz, double q);
bool SetMicBEqBand(int band, int type, double gainDb, int freqHz, double q);
bool SetEchoAEqBand(int band, int type, double gainDb, int freqHz, double q);
bool SetEchoBEqBand(int band, int type, double gainDb, int freqHz, double q);
bool SetReverbAEqBand(int band, int type, double gainDb, int freqHz, double q);
bool SetReverbBEqBand(int band, int type, double gainDb, int freqHz, double q);
bool SetMusicEqBand(int band, int type, double gainDb, int freqHz, double q);
bool SetMainEqBand(int band, int type, double gainDb, int freqHz, double q);
bool SetRearEqBand(int band, int type, double gainDb, int freqHz, double q);
bool SetCenterEqBand(int band, int type, double gainDb, int freqHz, double q);
bool SetSubEqBand(int band, int type, double gainDb, int freqHz, double q);
bool SetTopEqBand(int band, int type, double gainDb, int freqHz, double q);

// The family member of a page kind (0..11); false for any other kind.
bool SetEqBand(int pageKind, int band, int type, double gainDb, int freqHz, double q);

// Where the EQ of a page kind lives, in one table for the pages, the command-line tool and
// the band operations above.
using EqBandSetter = bool (*)(int band, int type, double gainDb, int freqHz, double q);
struct EqKindPlace
{
    int start;           // first byte of its records in DeviceImage
    int bands;           // records in the region
    int block;           // DSP block, also the equaliser identifier of the band operations
    int firstBand;       // band number of the region's band 0 inside the block
    int editableBands;   // bands a page edits, ResendEq re-sends and CopyEq copies
    int bypassCell;      // the ParamStore cell of its EQ bypass
    EqBandSetter writer; // its member of the SetEqBand family
};
// nullptr for a kind outside 0..11.
const EqKindPlace* EqKindPlaceOf(int pageKind);

// Band i (from 0) of the EQ of a page kind, read from the band memory (a bad kind reads mic
// A's bands). Channel B's mic bands follow the ten channel A bands; channel B's echo and
// reverb bands are 7..13 of their blocks; the Sub's band i is stage i.
EqBand LoadKindBand(int pageKind, int band);

// The EQ bypass cell of a page kind, 0 for a bad kind.
int EqBypassCell(int pageKind);

// A stored band record as an EQ page takes it (the band memory may hold anything): a type
// outside 0..maxType is OFF; the gain is 0 for the pass types (LP, HP and every crossover code
// above 5) and otherwise limited to -15..15 dB; a frequency of 0 keeps the previous one, any
// other is limited to 20..20000 Hz; a Q of 0 becomes 1.41 for PEQ and 0.7 for types 2..5 (the
// other types keep the previous Q), any other is limited to 0.1..30 for PEQ and 0.1..2 for
// every other type.
inline constexpr double kEqGainLimitDb = 15.0;
EqBand ClampLoadedBand(const EqBand& stored, const EqBand& previous, int maxType);

// Number of bands of a page kind's region (10, 11, 12, 14 or 22); 0 for a bad kind.
int EqRegionBandCount(int pageKind);
// First byte of a page kind's region in DeviceImage; -1 for a bad kind.
int EqRegionStart(int pageKind);
// Bands that ResendEq re-sends and CopyEq copies: 10 for kinds 0, 1, 3, 4, 5, 8, 11, 7 for
// kinds 6, 7, 9, 10, 5 for the Sub (which neither resends nor copies); 0 for a bad kind.
int EqEditableBandCount(int pageKind);

// ResetEq family: default bands, stored and sent band by band. Music resets bands 0..9 (the
// low-pass band 10 stays); the outputs reset their EQ bands only (the delay splits stay).
void ResetMicAEq();
void ResetMicBEq();
void ResetEchoAEq();
void ResetEchoBEq();
void ResetReverbAEq();
void ResetReverbBEq();
void ResetMusicEq();
void ResetMainEq();
void ResetRearEq();
void ResetCenterEq();
void ResetSubEq();
void ResetTopEq();
// The family member of a page kind; false for a bad kind.
bool ResetEq(int pageKind);

// Re-sends the first EqEditableBandCount(pageKind) bands through the family member (which
// also rewrites the processor's memory). The Sub re-sends nothing. Returns the bands sent.
int ResendEq(int pageKind);

// Copies min(n_from, n_to) band records from one region to the other and re-sends the target.
// Refused (false) when either kind is the Sub or outside 0..11.
bool CopyEq(int fromKind, int toKind);

// Designs and writes every EQ biquad of blocks 1..9 from DeviceImage (20, 14, 14, 11, 10, 10,
// 10, 20, 10 bands); the band memory is not rewritten and the delay splits are not sent.
// Returns the number of biquads sent.
int ResendAllEq();
