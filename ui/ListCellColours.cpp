#include "ui/ListCellColours.h"

#include <cmath>

ListCellColours::Colour ListCellColours::blend(Colour highlight, Colour cell)
{
    return mix(highlight, cell, 59);
}

ListCellColours::Colour ListCellColours::mix(Colour a, Colour b, int weightOfA)
{
    const Colour weight = Colour(weightOfA < 0 ? 0 : weightOfA > 255 ? 255 : weightOfA);
    Colour result = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const Colour x = (a >> shift) & 0xFF;
        const Colour y = (b >> shift) & 0xFF;
        result |= ((x * weight + y * (255 - weight)) / 255) << shift;
    }
    return result;
}

ListCellColours::Pair ListCellColours::forCell(Colour cellText, Colour cellBackground, State state,
                                               const System& system)
{
    const Colour background = resolve(cellBackground, system.background);
    if (!isDark(system)) {
        switch (state) {
        case State::SelectedFocused:
            return {FocusedText, blend(FocusedHighlight, background)};
        case State::Selected:
            return {UnfocusedText, blend(UnfocusedHighlight, background)};
        case State::Normal:
            break;
        }
        return {resolve(cellText, system.text), background};
    }
    switch (state) {
    case State::SelectedFocused: {
        const Colour selected = mix(system.highlight, background, DarkFocusedWeight);
        return {readableOn(system.highlightedText, selected), selected};
    }
    case State::Selected: {
        const Colour selected = mix(system.highlight, background, DarkUnfocusedWeight);
        return {readableOn(system.highlightedText, selected), selected};
    }
    case State::Normal:
        break;
    }
    // A row of its own light colour (a scene without speakers) under the
    // palette's light text needs dark text instead.
    return {readableOn(resolve(cellText, system.text), background), background};
}

ListCellColours::Pair ListCellColours::forCell(Colour cellText, Colour cellBackground, State state,
                                               Colour systemText, Colour systemBackground)
{
    return forCell(cellText, cellBackground, state,
                   System{systemText, systemBackground, FocusedHighlight, White});
}

bool ListCellColours::isDark(const System& system)
{
    return relativeLuminance(system.background) < relativeLuminance(system.text);
}

double ListCellColours::relativeLuminance(Colour colour)
{
    // sRGB channels linearised, then weighted as the eye weighs them.
    const auto linear = [](Colour channel) {
        const double c = double(channel & 0xFF) / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    // 0x00BBGGRR: red in the low byte.
    return 0.2126 * linear(colour) + 0.7152 * linear(colour >> 8) + 0.0722 * linear(colour >> 16);
}

double ListCellColours::contrastRatio(Colour a, Colour b)
{
    const double la = relativeLuminance(a);
    const double lb = relativeLuminance(b);
    const double lighter = la > lb ? la : lb;
    const double darker = la > lb ? lb : la;
    return (lighter + 0.05) / (darker + 0.05);
}

ListCellColours::Colour ListCellColours::readableOn(Colour text, Colour background)
{
    if (contrastRatio(text, background) >= MinimumContrast)
        return text;
    return contrastRatio(Black, background) >= contrastRatio(White, background) ? Black : White;
}
