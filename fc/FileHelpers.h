#pragma once

#include <cstdint>

// Free helpers over paths; texts are CP932 and resolved like an FCPathName,
// so relative names are taken against the current directory.

// Whether a file or folder exists; its attributes are stored through
// attributesOut when it does and one is given. An absent text gives false.
[[nodiscard]] bool fileExists(const char* text, uint32_t* attributesOut = nullptr);

// Creates every missing folder along the path (the last piece is a folder
// too). True only when at least one folder was created and the last creation
// succeeded: a path whose folders all exist gives false, and so does a path
// that does not resolve to an absolute one.
bool createDirectories(const char* text);
