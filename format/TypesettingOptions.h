#pragma once

#include <cstdint>

// How the text of a printed line is set beyond the plain character grid:
// Japanese line breaking (no line starts with a full stop or a closing
// bracket, none ends with an opening one), one- and two-digit numbers set
// upright in one cell, and readings (furigana) beside their base. With every
// switch off, the default, lines are cut after exactly their width in
// characters, as they always were, so that page counts stay what they were.
struct TypesettingOptions {
    // The numbers are those stored in the settings files.
    enum class LineBreaking : int32_t {
        Off = 0,
        Strict = 1,
        // Strict, but a line may start with 々, ー, a small kana or ・.
        Loose = 2,
    };

    LineBreaking lineBreaking = LineBreaking::Off;
    bool uprightDigits = false;
    bool ruby = false;

    // Whether any switch is on: otherwise the plain grid.
    bool any() const { return lineBreaking != LineBreaking::Off || uprightDigits || ruby; }
    bool operator==(const TypesettingOptions&) const = default;

    // A stored number as a line-breaking mode: 1 strict, 2 loose, anything
    // else (a file of an earlier version has none) off.
    static constexpr LineBreaking lineBreakingOf(int32_t stored)
    {
        if (stored == static_cast<int32_t>(LineBreaking::Strict))
            return LineBreaking::Strict;
        if (stored == static_cast<int32_t>(LineBreaking::Loose))
            return LineBreaking::Loose;
        return LineBreaking::Off;
    }
};
