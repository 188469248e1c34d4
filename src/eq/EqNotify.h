#pragma once
// Numbers of the EQ panel's notifications. In this program they travel as Qt signals of
// CEqPanel (BandChanged, BandNone, CopyPaste, BandPicked); the numbers name them in traces.

inline constexpr int EQ_BAND_CHANGED = 0x1421;
inline constexpr int EQ_BAND_NONE = 0x1422;
inline constexpr int EQ_COPY_PASTE = 0x1423;
inline constexpr int EQ_BAND_PICKED = 0x1424;

// Menu item ids of the panel's context menus.
inline constexpr int EQ_MENU_TYPE_FIRST = 2025; // 2025..2029: PEQ, LP, HP, LS, HS
inline constexpr int EQ_MENU_TYPE_LAST = 2029;
inline constexpr int EQ_MENU_COPY = 3025;
inline constexpr int EQ_MENU_PASTE = 3026;
inline constexpr int EQ_MENU_IMPORT_FILTERS = 3027;
inline constexpr int EQ_MENU_EXPORT_FILTERS = 3028;
