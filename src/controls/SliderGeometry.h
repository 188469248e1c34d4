#pragma once
// Where the thumb of a bitmap slider sits and which position a pointer stands for. Plain
// functions over a small value type, so the arithmetic can be checked without a widget.
//
// W, H are the channel size, tw, th the thumb size, l, r, t, b the margins and
// span = maximum - minimum. The divisions are single-precision and the results are truncated
// towards zero, so a slider lands on the same pixel for the same position on every machine:
//   horizontal thumb left  x = (W - tw - r - l) / span * (position - minimum) + l, top t
//   vertical thumb top     y = (H - th - b - t) / span * (maximum - position) + t, left l
//   horizontal pointer x   -> (x - tw/2 - l) / ((W - tw - r - l) / span) + minimum
//   vertical pointer y     -> maximum - (y - th/2 - t) / ((H - th - b - t) / span)
// An empty range or a thumb that does not fit the channel puts the thumb at the start margin
// and maps every pointer to the minimum instead of dividing by zero.

struct SliderGeometry
{
    int width = 0;        // W: channel width
    int height = 0;       // H: channel height
    int thumbWidth = 0;   // tw
    int thumbHeight = 0;  // th
    int marginLeft = 0;   // l
    int marginRight = 0;  // r
    int marginTop = 0;    // t
    int marginBottom = 0; // b
    int minimum = 0;
    int maximum = 127;
    bool vertical = false; // vertical sliders have the maximum at the top
};

struct SliderThumbRect
{
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    // Right and bottom edges are outside, as for every pixel rectangle of the program.
    bool Contains(int px, int py) const
    {
        return px >= x && px < x + width && py >= y && py < y + height;
    }
};

// The position limited to minimum..maximum.
int ClampSliderPosition(const SliderGeometry& g, int position);

// Top-left corner and size of the thumb for a position (clamped first).
SliderThumbRect SliderThumbAt(const SliderGeometry& g, int position);

// The position a pointer at (x, y) stands for while dragging, already clamped. Only x counts
// for a horizontal slider and only y for a vertical one.
int SliderPositionFromPointer(const SliderGeometry& g, int x, int y);

// The step a press on the track away from the thumb makes: -1 or +1. Horizontal: -1 when the
// press is at or left of the thumb's centre. Vertical: -1 when the press is below the centre.
int SliderTrackStep(const SliderGeometry& g, int position, int x, int y);
