#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Files written whole under a hidden temporary name and put under their own
// name only when complete, so that no one ever sees a part of one: the page
// images of a print run. The temporary is named "<prefix><process>-<n>.part"
// in the folder it is written to; the process number lets a later run tell
// the leftovers of a process that ended (a crash) from those of one that is
// still writing. Paths here are native (UTF-8).
namespace StagedFile {

inline constexpr int Written = 0;
inline constexpr int Exists = -1;      // the name is taken and overwrite is false
inline constexpr int CannotOpen = -2;  // the temporary could not be created
inline constexpr int WriteFailed = -3; // the disk failed while writing
inline constexpr int CannotPlace = -4; // the finished file could not be put in place

// Writes every byte to the open descriptor, again after an interruption;
// false when the disk refused some.
bool writeAll(int fd, std::string_view bytes);
// Writes size bytes to a fresh temporary in folder; Written with its name,
// or why not (nothing is left behind then).
int write(const std::string& folder, std::string_view prefix, const uint8_t* data, std::size_t size,
          std::string& temporary);
// Puts the temporary under target: over a file there with overwrite, never
// over one (even one that appeared meanwhile) without. The temporary is
// gone afterwards, whatever the result.
int place(const std::string& temporary, const std::string& target, bool overwrite);
// As place, but a temporary that could not be placed stays where it is, for
// the caller to write its bytes another way.
int tryPlace(const std::string& temporary, const std::string& target, bool overwrite);
// The bytes of a file; false when it cannot be read whole.
bool read(const std::string& file, std::vector<uint8_t>& bytes);
// Something (a file, a folder, a link) is there.
bool exists(const std::string& native);
// Removes the temporaries with the prefix in folder that processes which
// have ended left behind; the number removed.
int removeLeftovers(const std::string& folder, std::string_view prefix);

} // namespace StagedFile
