#include "platform/SystemClock.h"

std::time_t SystemClock::now() const
{
    return std::time(nullptr);
}
