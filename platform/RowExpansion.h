#pragma once

#include <cstddef>
#include <cstdint>

// Widens rows of page pixels to the 8-bit RGB triples a true-colour image
// file stores. The grey case runs once per pixel of every page image, so it
// takes the processor's byte shuffles where there are any (SSSE3, chosen
// when the program starts) and a plain loop elsewhere; both give the same
// bytes.
namespace RowExpansion {

// count grey bytes g become count triples (g, g, g).
void greyToRgb(const uint8_t* grey, std::size_t count, uint8_t* rgb);
// count pixels of 4 bytes (blue, green, red, unused) become count
// triples (red, green, blue).
void bgrxToRgb(const uint8_t* bgrx, std::size_t count, uint8_t* rgb);
// The plain loop of greyToRgb, for machines without the shuffles (and
// for comparing the two).
void greyToRgbPlain(const uint8_t* grey, std::size_t count, uint8_t* rgb);

} // namespace RowExpansion
