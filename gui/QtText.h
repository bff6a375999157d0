#pragma once

#include <QString>
#include <string>
#include <string_view>

// The program's CP932 texts at the edge of the toolkit. Both directions are
// lenient and never fail: a CP932 byte that is no character becomes U+FFFD;
// a character CP932 lacks becomes "?", as Windows writes it.
QString fromCp932(std::string_view cp932);
std::string toCp932(const QString& text);
