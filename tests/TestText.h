#pragma once

#include "platform/TextCodec.h"

#include <string>

// Tests write their Japanese texts in UTF-8; the program works on CP932.
inline std::string sj(const std::string& utf8)
{
    return TextCodec::fromUtf8(utf8);
}

inline std::string utf8(const std::string& cp932)
{
    return TextCodec::toUtf8(cp932);
}
