#pragma once
// Loading stored band records into the EQ panels. The band memory may hold anything (a mode
// file, a processor's memory), so each record passes the panels' rules on its way in: a type
// outside 0..5 counts as OFF, zero frequencies and zero Qs leave the panel's own values, and
// every value is clamped to what the panel can show.

class CEqPanel;
class CSmallEqPanel;

// Bands 0..count-1 of the EQ of `kind` into panel slots 0..count-1 (the caller has set the
// panel's kind and band count). A stored type above maxType counts as OFF: the input pages
// know the five user types only, the outputs every code up to 31. On the Sub panel, slot k
// (0..4) reads stage 4k and its three companion slots stages 4k+1..4k+3.
void LoadPanelBands(CEqPanel& panel, int kind, int count, int maxType = 5);

// The Sub stage (0..19) a Sub panel slot (0..19) shows: the five visible slots are the first
// stages of the slots, SubCompanions(k) the other three.
int SubStageOfPanelSlot(int slot);

// The seven bands of an echo or reverb EQ into a small panel, with the small panel's Q limits
// (1..30 for PEQ, 0.1..30 otherwise).
void LoadSmallPanelBands(CSmallEqPanel& panel, int kind);
