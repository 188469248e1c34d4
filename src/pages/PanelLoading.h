#pragma once
// Loading stored band records into the EQ panels. The band memory may hold anything (a mode
// file, a processor's memory), so each record passes the panels' rules on its way in: a type
// outside 0..5 counts as OFF, zero frequencies and zero Qs leave the panel's own values, and
// every value is clamped to what the panel can show.

class CEqPanel;
class CSmallEqPanel;

// Bands 0..count-1 of the EQ of `kind` into panel slots 0..count-1 (the caller has set the
// panel's kind and band count).
void LoadPanelBands(CEqPanel& panel, int kind, int count);

// The seven bands of an echo or reverb EQ into a small panel, with the small panel's Q limits
// (1..30 for PEQ, 0.1..30 otherwise).
void LoadSmallPanelBands(CSmallEqPanel& panel, int kind);
