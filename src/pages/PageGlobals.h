#pragma once
// Program-wide state of the input and effects pages that outlives the pages themselves.

#include <atomic>

// The EQ the input page shows, as its page kind: 1 mic channel A, 8 mic channel B, 0 music.
extern std::atomic<int> g_nInputView;

// The effect EQ the effects page shows or is asked to show next (6, 7, 9 or 10).
extern std::atomic<int> g_nEffectKind;

// The output the output page shows, as its page kind: 5 Main, 4 Rear, 3 Center, 2 Sub, 11 Top.
extern std::atomic<int> g_nOutputKind;

// The page kind of the EQ last copied with "Copy EQ", -1 while nothing was copied.
extern std::atomic<int> g_nEqCopySlot;

// The panel's Copy (action 0) remembers `kind`; Paste (action 1) copies the remembered EQ onto
// `kind` and re-sends it. Returns true when a paste changed the target: false for a copy, for
// a paste with nothing copied and for a paste the band memory refuses (from or to the SUB).
bool EqCopyPaste(int action, int kind);
