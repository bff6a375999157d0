#pragma once

#include <string>
#include <string_view>

// A name taken from a screenplay (a scene, a character) made fit to be one
// level of a path under an output folder: every "/" and NUL character
// becomes "_", and a whole "." or ".." becomes "_", so that no name can lead
// outside the folder. Other names are kept as they are. CP932, double-byte
// aware: the trail byte of a character is never taken for a separator.
namespace SafeFileName {

std::string of(std::string_view name);

} // namespace SafeFileName
