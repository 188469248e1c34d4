#pragma once
// The pale blue background every page and dialog of the program shares.

#include <QColor>

class QWidget;

inline const QColor kPageBackground(240, 250, 255);

// Fills the widget with the page background (statics on it draw transparently).
void ApplyPageBackground(QWidget* widget);
