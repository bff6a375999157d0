#pragma once

// The program's Japanese texts are written in UTF-8 in the sources; Sjis::of
// gives their CP932 form, converted once per literal and kept for the life of
// the process. Only for literals (the pointer is the cache key).
namespace Sjis {

const char* of(const char* utf8Literal);

} // namespace Sjis
