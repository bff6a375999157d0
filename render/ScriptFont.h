#pragma once

#include "fc/FCString.h"

// A face and a weight (400 normal, 700 bold) for one kind of printed line.
struct ScriptFont {
    int weight = 400;
    FCString face;
};
