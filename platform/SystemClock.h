#pragma once

#include "platform/Clock.h"

// The system's time of day.
class SystemClock : public Clock {
public:
    std::time_t now() const override;
};
