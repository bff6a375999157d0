#include "platform/Clock.h"

Clock::~Clock() = default;
