#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The whole of a file in memory, read with no Retry/Cancel box on a failure:
// for readers that tell the user themselves what they could not read.
namespace FileBytes {

// Appends the file's bytes (path in CP932) to bytes; the Windows error
// number of the first failure, 0 when the whole file was read.
uint32_t read(std::string_view path, std::string& bytes);

} // namespace FileBytes
