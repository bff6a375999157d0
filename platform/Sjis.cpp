#include "platform/Sjis.h"

#include "platform/TextCodec.h"

#include <mutex>
#include <string>
#include <unordered_map>

const char* Sjis::of(const char* utf8Literal)
{
    static std::mutex mutex;
    static std::unordered_map<const char*, std::string> converted;
    std::lock_guard<std::mutex> lock(mutex);
    auto found = converted.find(utf8Literal);
    if (found == converted.end())
        found = converted.emplace(utf8Literal, TextCodec::fromUtf8(utf8Literal)).first;
    return found->second.c_str();
}
