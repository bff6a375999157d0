#pragma once

#include <cstdint>

// A seam for tests: makes the file layer fail on purpose. Each kind counts its
// calls; once `after` calls have gone through, the next `times` calls fail
// with the given Windows error number, then calls go through again.
class FileFaults {
public:
    enum class Kind { Open, Read, Write, Delete };

    static void fail(Kind kind, uint32_t error, int after = 0, int times = 1);
    static void reset();

    // Used by FileSystem: 0, or the error the call must fail with.
    static uint32_t check(Kind kind);
};
