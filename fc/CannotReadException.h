#pragma once

#include "fc/Diagnostic.h"
#include "platform/Sjis.h"

// A file could not be read and the user chose Cancel. The message is the file's
// name as given to open.
class CannotReadException : public Diagnostic {
public:
    explicit CannotReadException(const char* name) : Diagnostic("cannot read", name) {}
};
