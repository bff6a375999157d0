#pragma once

#include "fc/FCString.h"

#include <cstdint>

// One slot of a scene's character table: a speaker's name as written in the
// header and the number of the speaker's lines. A count of 0 or less marks
// the end of the table for speaker lookup.
struct ScreenplayCharacter {
    FCString name;
    int32_t count = 0;
};
