#include "platform/FileFaults.h"

#include <array>
#include <cassert>
#include <mutex>

namespace {

struct Fault {
    bool armed = false;
    uint32_t error = 0;
    int after = 0;
    int times = 0;
    int calls = 0;
};

constexpr std::size_t kindCount = static_cast<std::size_t>(FileFaults::Kind::SetAttributes) + 1;

std::mutex mutex;
std::array<Fault, kindCount> faults;

Fault& faultOf(FileFaults::Kind kind)
{
    auto index = static_cast<std::size_t>(kind);
    assert(index < kindCount && "FileFaults: unknown kind");
    return faults[index];
}

} // namespace

void FileFaults::fail(Kind kind, uint32_t error, int after, int times)
{
    assert(error != 0 && "FileFaults::fail needs an error number to fail with");
    assert(after >= 0 && "FileFaults::fail: calls to let through must not be negative");
    std::lock_guard<std::mutex> lock(mutex);
    Fault& f = faultOf(kind);
    f = Fault{true, error, after, times, 0};
}

void FileFaults::reset()
{
    std::lock_guard<std::mutex> lock(mutex);
    faults.fill(Fault{});
}

uint32_t FileFaults::check(Kind kind)
{
    std::lock_guard<std::mutex> lock(mutex);
    Fault& f = faultOf(kind);
    if (!f.armed)
        return 0;
    int call = f.calls++;
    if (call < f.after)
        return 0;
    if (f.times < 0 || call < f.after + f.times)
        return f.error;
    // The failures are used up: the kind goes back to working normally.
    f.armed = false;
    return 0;
}

bool FileFaults::armed()
{
    std::lock_guard<std::mutex> lock(mutex);
    for (const Fault& f : faults) {
        if (f.armed)
            return true;
    }
    return false;
}
