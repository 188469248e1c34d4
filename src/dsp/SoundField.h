#pragma once
// The sound-field room plan's rules and operations: the level a speaker gets from its
// distance to the listener, the room drawing's metre <-> pixel mapping and grid, and what
// moving a point, resizing the room, centring the listener and resetting do to the geometry,
// Block945, Block965 and the speaker-level parameters. The page and the command-line tool
// both call these.

#include "dsp/Dynamics.h"
#include "model/SoundFieldGeometry.h"

#include <optional>
#include <string>
#include <vector>

// ---- Pure rules --------------------------------------------------------------------------

// 3 - 3*d dB for a speaker d metres from the listener, in single precision, no lower limit:
// +3 dB on the listener, 0 dB at 1 m, -3 dB for every further metre.
float SoundFieldLevel(SoundFieldPosition listener, SoundFieldPosition speaker);

// The Block965 slot of a point 1..8 (Main L, Center, Main R, ...); nullopt for the listener
// and numbers outside 0..8.
std::optional<Speaker> SpeakerOfPoint(int point);

// A position limited to the room: x to +-width/2, y to +-length/2. NaN becomes 0.
SoundFieldPosition LimitToRoom(SoundFieldPosition position, int width, int length);

// The position spin range for a room side: +-side/2 in tenths of a metre (5 m -> 25).
int PositionSpinLimit(int roomMetres);
// A room size limited to 1..10 metres.
int LimitRoomMetres(int metres);
// A position in whole tenths of a metre, rounded half away from zero (the spin value).
int PositionTenths(float metres);

// The drawing's client rectangle and the room it shows. Points are drawn inside a 30 pixel
// margin: the room edges lie on the margin.
struct SoundFieldView
{
    float left = 0.0f;
    float top = 0.0f;
    float width = 0.0f;  // W, pixels
    float height = 0.0f; // H, pixels
    float roomWidth = 4.0f;
    float roomLength = 4.0f;
};
inline constexpr float kSoundFieldMargin = 30.0f;

struct SoundFieldPixel
{
    float x = 0.0f;
    float y = 0.0f;
};

SoundFieldPixel PixelFromMetres(const SoundFieldView& view, SoundFieldPosition metres);
// The inverse of PixelFromMetres. A drawing no larger than its margins maps to the centre.
SoundFieldPosition MetresFromPixel(const SoundFieldView& view, SoundFieldPixel pixel);
// The pointer held inside the margin while dragging.
SoundFieldPixel ClampToInner(const SoundFieldView& view, SoundFieldPixel pixel);

// The inner grid lines of one room side, in whole metres from the centre line (0 included),
// strictly inside the edges: 4 m -> -1, 0, 1; 5 m -> -2..2.
std::vector<int> SoundFieldGridLines(int roomMetres);
// "0" for the centre line, "+%dm" / "-%dm" for the others.
std::string SoundFieldGridLabel(int metres);
// The edge label of a room side: "+%.0fm" / "-%.0fm" when half the side is whole metres,
// "+%.1fm" / "-%.1fm" otherwise.
std::string SoundFieldEdgeLabel(int roomMetres, bool positive);
// A position as the edit boxes show it: "%+-.1fm" (+1.0m, -0.5m).
std::string SoundFieldPositionText(float metres);
// Reads a typed position: the leading number of the text ("+1.5m", " -2", "3.");
// text with no number reads as 0 as the edit boxes always did.
float ParseSoundFieldPosition(const std::string& text);
// Reads a typed room size: the leading whole number ("5m" -> 5); no number reads as 0.
int ParseRoomMetres(const std::string& text);

// ---- Operations --------------------------------------------------------------------------

// A speaker's level: computed from the current geometry's listener and the given position,
// written with WriteSpeakerLevel. Returns the level.
float WriteSoundFieldLevel(int point, SoundFieldPosition at);
// Encodes the program-wide geometry into Block945 and writes the 20 bytes to the processor.
void WriteSoundFieldGeometry();

// Moves a point (stored as given; the page limits it first).
// A speaker dragged: its level, then its position and Block945. A speaker typed: its position
// and Block945, then its level. The listener: its position and Block945, then the levels of
// all eight speakers in point order (Main L, Center, Main R, Rear L, Sub, Rear R, Top L,
// Top R). Point numbers outside 0..8 do nothing.
enum class SoundFieldMove
{
    Dragged,
    Typed,
};
void MoveSoundFieldPoint(int point, SoundFieldPosition at, SoundFieldMove how);
// New room size (limited to 1..10) into the geometry and Block945; no level is recomputed and
// no point moved, even one now outside the room.
void SetSoundFieldRoomSize(int width, int length);
// The listener to (0, 0), Block945, then the eight levels.
void CenterSoundFieldListener();
// Every speaker to 0 dB in point order, then the start-up geometry into Block945 and the
// program-wide geometry, written to the processor.
void ResetSoundField();
