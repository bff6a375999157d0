#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Splits a text marked up with format blocks into pieces of uniformly
// formatted text, for writing into a rich-text box. A block is an opening
// mark, attributes separated by commas, blanks or tabs, and a closing mark;
// it is not shown and sets the format of the text that follows it:
//   "-"               the box's default text colour;
//   a token with a    a colour 0xRRGGBB, read like every integer of the
//   leading "0"       program (decimal, 0x hexadecimal, 0b binary);
//   B/b, I/i, U/u     bold, italic, underline;
//   anything else     ignored.
// Bold, italic and underline hold up to the next block; a colour holds until
// a later block sets another. Text before the first block is in the default
// colour without effects.
//
// Texts and marks are CP932 and searched character by character, so a trail
// byte never starts a mark. An opening mark without a closing one is no
// block: it stays in the text as written, so nothing is lost.
namespace RichTextPieces {

inline constexpr const char* DefaultOpen = "\x81\x79";  // 【
inline constexpr const char* DefaultClose = "\x81\x7A"; // 】

struct Piece {
    std::string text;
    // False: the default colour (colour is then 0); true: colour.
    bool coloured = false;
    // 0xRRGGBB.
    uint32_t colour = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool operator==(const Piece&) const = default;
};

// Pieces in order; empty texts between blocks give no piece.
std::vector<Piece> split(std::string_view text, std::string_view openMark = DefaultOpen,
                         std::string_view closeMark = DefaultClose);

} // namespace RichTextPieces
