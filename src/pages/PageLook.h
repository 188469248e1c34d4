#pragma once
// The look every page and dialog of the program shares: the pale blue background and the
// dialog templates' font size.

#include <QColor>
#include <QRect>
#include <Qt>

class QLabel;
class QWidget;

inline const QColor kPageBackground(240, 250, 255);

// Fills the widget with the page background (statics on it draw transparently).
void ApplyPageBackground(QWidget* widget);

// The templates' font, "MS Shell Dlg" 8, whose base units the layout is measured in: text 12
// pixels high in the program's family, so captions fit the template's rectangles at any dpi.
inline constexpr int kDialogFontPixels = 12;
void ApplyDialogFont(QWidget* widget);

// A static text at r that draws on the page background.
QLabel* MakeStatic(QWidget* parent, const QRect& r, Qt::Alignment align = Qt::AlignLeft);

// Text colour of a static (a lighter shade while disabled).
void SetTextColour(QWidget* w, const QColor& c);
