#pragma once

#include "fc/Diagnostic.h"
#include "platform/Sjis.h"

// Memory ran short. The caption is the tag of the failing operation, such as
// "FCString - append"; the message is always the same.
class NotEnoughMemoryException : public Diagnostic {
public:
    explicit NotEnoughMemoryException(const char* tag)
        : Diagnostic(tag, Sjis::of("メモリが足りません！"))
    {
    }
};
