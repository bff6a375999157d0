#pragma once

#include <cstddef>
#include <string>

// Builds a screenplay text (CP932) of about the given size: a header with a
// few characters and a body that mixes speaker lines of varied lengths, notes,
// shifted notes, comments, ignored lines and forced breaks.
namespace SceneGenerator {

std::string generate(std::size_t bytes);

} // namespace SceneGenerator
