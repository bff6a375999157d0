#pragma once

#include <cstdint>

// A seam for tests: makes the file layer fail on purpose. Each kind counts its
// calls; once `after` calls have gone through, the next `times` calls fail
// with the given Windows error number, then calls go through again. A
// negative `times` fails every call from then on. Arming a kind again starts
// its count afresh.
namespace FileFaults {

// Open: FileSystem::open. Read, Write: FileSystem::read and write (not
// seek, size or setEndOfFile). Delete: deleteFile and removeDirectory.
// CreateDirectory, SetAttributes: the calls of those names.
enum class Kind { Open, Read, Write, Delete, CreateDirectory, SetAttributes };

void fail(Kind kind, uint32_t error, int after = 0, int times = 1);
void reset();

// Used by FileSystem: 0, or the error the call must fail with.
uint32_t check(Kind kind);
// Whether any kind is armed: code that reaches the system by a shorter way
// than FileSystem takes FileSystem's way then, so that the faults apply.
bool armed();

// Disarms every kind when it goes out of scope, so that a failing test
// does not leave faults behind for the next one.
class Scope {
public:
    Scope() = default;
    ~Scope() { reset(); }
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;
};

} // namespace FileFaults
