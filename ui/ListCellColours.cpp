#include "ui/ListCellColours.h"

ListCellColours::Colour ListCellColours::blend(Colour highlight, Colour cell)
{
    Colour result = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const Colour h = (highlight >> shift) & 0xFF;
        const Colour c = (cell >> shift) & 0xFF;
        result |= ((h * 59 + c * 196) / 255) << shift;
    }
    return result;
}

ListCellColours::Pair ListCellColours::forCell(Colour cellText, Colour cellBackground, State state,
                                               Colour systemText, Colour systemBackground)
{
    const Colour background = resolve(cellBackground, systemBackground);
    switch (state) {
    case State::SelectedFocused:
        return {FocusedText, blend(FocusedHighlight, background)};
    case State::Selected:
        return {UnfocusedText, blend(UnfocusedHighlight, background)};
    case State::Normal:
        break;
    }
    return {resolve(cellText, systemText), background};
}
