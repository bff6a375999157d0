#pragma once

#include "fc/Diagnostic.h"
#include "platform/Sjis.h"

// A file could not be opened and the user chose Cancel. The message is the full
// path.
class CannotOpenException : public Diagnostic {
public:
    explicit CannotOpenException(const char* path) : Diagnostic("cannot open", path) {}
};
