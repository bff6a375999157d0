#pragma once

#include <cstdint>

// Why a file call failed, in words: every Windows error number the file
// layer can meet has one, so no message has to fall back on "unknown error".
// FCFile's boxes keep their own fixed texts where they have one and use
// these for the rest. Each text is CP932 and begins with a line break, to
// follow the path or name it explains.
namespace FileErrorText {

// The reason for code; null for a code without one.
const char* reason(uint32_t code);

} // namespace FileErrorText
