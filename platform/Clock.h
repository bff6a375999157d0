#pragma once

#include <ctime>

// The time of day as the program reads it, for the stamps it writes into
// its logs: the system's in the programs, a fixed one in tests.
class Clock {
public:
    virtual ~Clock();

    virtual std::time_t now() const = 0;
};
