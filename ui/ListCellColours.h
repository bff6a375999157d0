#pragma once

#include "ui/UxListViewControl.h"

// Which colours a text cell of the program's lists is drawn in. A selected
// row does not take the toolkit's own selection look: its cells keep a trace
// of their own background, blended with a highlight that tells whether the
// list has the keyboard focus, so that a coloured row (a scene without
// speakers, for instance) can still be told apart while selected.
//
// Under a light system palette the highlights and their text colours are
// the program's own fixed ones. Those were chosen for dark text on a light
// window; under a dark palette (its window darker than its text) they would
// put dark text on a dark blend, so there the palette's own highlight and
// highlighted text are used instead, and every text colour is checked
// against its background: one that does not reach MinimumContrast gives way
// to black or white, whichever reads better.
//
// Colours are 0x00BBGGRR like the list's own; a cell colour may be
// UxListViewControl::DefaultColour, which stands for the system's window
// (background) or window-text colour given by the caller.
namespace ListCellColours {

using Colour = UxListViewControl::Colour;

enum class State { Normal, Selected, SelectedFocused };

struct Pair {
    Colour text;
    Colour background;
    bool operator==(const Pair&) const = default;
};

// The system colours a list is drawn over.
struct System {
    Colour text;
    Colour background;
    Colour highlight;
    Colour highlightedText;
};

inline constexpr Colour FocusedHighlight = UxListViewControl::rgb(0xF0, 0x00, 0xD0);
inline constexpr Colour UnfocusedHighlight = UxListViewControl::rgb(0x60, 0xA0, 0xD8);
inline constexpr Colour FocusedText = UxListViewControl::rgb(0x00, 0x00, 0x80);
inline constexpr Colour UnfocusedText = UxListViewControl::rgb(0x00, 0x00, 0x00);
inline constexpr Colour Black = UxListViewControl::rgb(0x00, 0x00, 0x00);
inline constexpr Colour White = UxListViewControl::rgb(0xFF, 0xFF, 0xFF);

// The contrast ratio normal text needs to be readable (WCAG 2, level AA).
inline constexpr double MinimumContrast = 4.5;
// How much of the palette's highlight a selected row takes under a dark
// palette, out of 255: enough to tell the selection from the rows
// around it while a trace of the row's own colour stays, and little
// enough that the blend stays dark under the palette's light
// highlighted text.
inline constexpr int DarkFocusedWeight = 128;
inline constexpr int DarkUnfocusedWeight = 80;

// Per channel: (highlight * 59 + cell * 196) / 255, integer division.
Colour blend(Colour highlight, Colour cell);
// Per channel: (a * weightOfA + b * (255 - weightOfA)) / 255.
Colour mix(Colour a, Colour b, int weightOfA);

Pair forCell(Colour cellText, Colour cellBackground, State state, const System& system);
// The same with the program's own highlights standing for the
// palette's.
Pair forCell(Colour cellText, Colour cellBackground, State state, Colour systemText,
             Colour systemBackground);

// A palette whose window is darker than its text.
bool isDark(const System& system);

// WCAG 2 relative luminance, 0 (black) to 1 (white).
double relativeLuminance(Colour colour);
// WCAG 2 contrast ratio of two colours, 1 to 21.
double contrastRatio(Colour a, Colour b);
// The text colour itself when it reaches MinimumContrast on the
// background, otherwise black or white, whichever contrasts more (one
// of them always reaches it).
Colour readableOn(Colour text, Colour background);

// A default colour replaced by the system colour.
inline Colour resolve(Colour colour, Colour system)
{
    return colour == UxListViewControl::DefaultColour ? system : colour;
}

} // namespace ListCellColours
