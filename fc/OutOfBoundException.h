#pragma once

#include "fc/Diagnostic.h"
#include "platform/Sjis.h"

// An index at or beyond the size of a bit set.
class OutOfBoundException : public Diagnostic {
public:
    OutOfBoundException() : Diagnostic("FCBit", Sjis::of("添え字が適正な範囲を超えています")) {}
};
