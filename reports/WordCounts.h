#pragma once

#include "fc/FCString.h"

#include <cstdint>
#include <string>

class ScriptInfo;

// The word-count listing "ワード数一覧": every character of a record (the
// scenario totals) with its count, the grand total, and the same list as
// plain clipboard text.
class WordCounts {
public:
    static constexpr int DialogTemplate = 223;

    static const char* title();
    // After "->clipboard": the notice's caption and text.
    static const char* clipboardNoticeTitle();
    static const char* clipboardNoticeText();

    // The sum of all counts.
    static int64_t total(const ScriptInfo& record);

    // Appends, per character, name ", " count "\n": no header, no total, no
    // carriage returns.
    static void appendText(const ScriptInfo& record, FCString& text);
    static std::string text(const ScriptInfo& record);
};
