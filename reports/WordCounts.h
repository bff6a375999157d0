#pragma once

#include "fc/FCString.h"

#include <cstdint>
#include <string>

class ScriptInfo;

// The word-count listing "ワード数一覧": every character of a record (the
// scenario totals) with its count, the grand total, and the same list as
// plain clipboard text.
namespace WordCounts {

inline constexpr int DialogTemplate = 223;

const char* title();
// After "->clipboard": the notice's caption and text.
const char* clipboardNoticeTitle();
const char* clipboardNoticeText();

// The sum of all counts.
int64_t total(const ScriptInfo& record);

// Appends, per character, name ", " count "\n": no header, no total, no
// carriage returns.
void appendText(const ScriptInfo& record, FCString& text);
std::string text(const ScriptInfo& record);

} // namespace WordCounts
