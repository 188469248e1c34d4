#pragma once
// Picture numbers of the effects page: the title picture of each effect EQ in each language,
// and the back button. The pictures are drawn by tools/pages and kept in resources/pages.

// Title picture of effect kind 6, 7, 9 or 10 in language 0 (Chinese) or 1 (English); -1 for
// any other kind.
int EfxTitlePicture(int kind, int language);

// Registers the page pictures with the resource system (idempotent).
void InitEfxPictures();

inline constexpr int kEfxBackPicture = 4230;
// Logical size of the title pictures (the template's 142 x 38 dialog units).
inline constexpr int kEfxTitleWidth = 213;
inline constexpr int kEfxTitleHeight = 62;
