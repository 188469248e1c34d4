#pragma once
// The program's one look: font fallbacks so Chinese renders everywhere, the Fusion style
// and the style sheet of the ribbon, status bar and dialogs.

class QApplication;

// "宋体", "黑体" and "Arial" (the fonts the dialogs ask for) fall back to installed fonts.
void SetupFonts();
void ApplyAppStyle(QApplication& app);
