#pragma once

#include "ui/UxListViewControl.h"

// Which colours a text cell of the program's lists is drawn in. A selected
// row does not take the toolkit's own selection look: its cells keep a trace
// of their own background, blended with a highlight that tells whether the
// list has the keyboard focus, so that a coloured row (a scene without
// speakers, for instance) can still be told apart while selected.
//
// Colours are 0x00BBGGRR like the list's own; a cell colour may be
// UxListViewControl::DefaultColour, which stands for the system's window
// (background) or window-text colour given by the caller.
class ListCellColours {
public:
    using Colour = UxListViewControl::Colour;

    enum class State { Normal, Selected, SelectedFocused };

    struct Pair {
        Colour text;
        Colour background;
        bool operator==(const Pair&) const = default;
    };

    static constexpr Colour FocusedHighlight = UxListViewControl::rgb(0xF0, 0x00, 0xD0);
    static constexpr Colour UnfocusedHighlight = UxListViewControl::rgb(0x60, 0xA0, 0xD8);
    static constexpr Colour FocusedText = UxListViewControl::rgb(0x00, 0x00, 0x80);
    static constexpr Colour UnfocusedText = UxListViewControl::rgb(0x00, 0x00, 0x00);

    // Per channel: (highlight * 59 + cell * 196) / 255, integer division.
    static Colour blend(Colour highlight, Colour cell);

    static Pair forCell(Colour cellText, Colour cellBackground, State state, Colour systemText,
                        Colour systemBackground);

    // A default colour replaced by the system colour.
    static Colour resolve(Colour colour, Colour system)
    {
        return colour == UxListViewControl::DefaultColour ? system : colour;
    }
};
