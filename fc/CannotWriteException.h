#pragma once

#include "fc/Diagnostic.h"
#include "platform/Sjis.h"

// A file could not be written and the user chose Cancel. The message is the
// file's name as given to open.
class CannotWriteException : public Diagnostic {
public:
    explicit CannotWriteException(const char* name) : Diagnostic("cannot write", name) {}
};
