#pragma once

#include <cstdint>

// The classes of CP932 characters that Japanese line breaking tells apart,
// looked up by character code (Cp932::codeAt). Characters the code page
// lacks (゠, ‼, 〙, ゕ, 〻 and their kin) cannot occur in a screenplay and are
// not listed; the code page's own forms are (full-width ！, ～ for the wave
// dash, ― for the em dash).
namespace LineBreakClasses {

enum : uint8_t {
    // May not start a line when breaking strictly: closing brackets and
    // quotes, hyphens, dividing punctuation, middle dots, full stops, commas,
    // iteration marks, the prolonged sound mark and small kana.
    StartProhibited = 1 << 0,
    // Of those, the ones a loose break lets start a line: 々, ー, small kana
    // and ・.
    LooseStartAllowed = 1 << 1,
    // May not end a line: opening brackets and quotes.
    EndProhibited = 1 << 2,
    // Full stops and commas, which hang past the line end rather than start
    // the next line.
    Hanging = 1 << 3,
    // Dashes and leaders (―, …, ‥): no break between two of them.
    Inseparable = 1 << 4,
    // Kanji (and 々, 〆, 〇, ヶ): a run of them directly before "《" is the
    // base of a reading.
    Kanji = 1 << 5,
};

// The classes of a character code; 0 for most characters.
uint8_t of(int code);

} // namespace LineBreakClasses
