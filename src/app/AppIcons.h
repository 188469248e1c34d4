#pragma once
// The program's icons, drawn as vector glyphs so they stay sharp at every scale.

#include <QColor>
#include <QIcon>

enum class Glyph
{
    Open,
    Save,
    LoadMode,
    SaveMode,
    Features,
    Reset,
    Remote,
    Language,
    About,
    Exit
};

QIcon AppIcon();
QIcon GlyphIcon(Glyph glyph, const QColor& color);
