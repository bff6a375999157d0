#include "platform/Trace.h"

#include "platform/TextCodec.h"

#include <atomic>
#include <cstdio>

namespace {
#ifdef NDEBUG
std::atomic<bool> traceOn{false};
#else
std::atomic<bool> traceOn{true};
#endif
} // namespace

void Trace::setEnabled(bool enabled)
{
    traceOn.store(enabled);
}

bool Trace::enabled()
{
    return traceOn.load();
}

void Trace::write(std::string_view cp932)
{
    if (!enabled())
        return;
    std::string out = TextCodec::toUtf8(cp932);
    std::fwrite(out.data(), 1, out.size(), stderr);
}
