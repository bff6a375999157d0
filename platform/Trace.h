#pragma once

#include <string_view>

// The debugger-output channel: silent unless switched on (by the batch tool's
// --trace, or in a debug build), then written to stderr in UTF-8.
namespace Trace {

void setEnabled(bool enabled);
bool enabled();
// Text is CP932 and written as it is; callers end their lines themselves.
void write(std::string_view cp932);

} // namespace Trace
