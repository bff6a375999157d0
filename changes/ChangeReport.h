#pragma once

#include "changes/LineChange.h"

#include <string>
#include <string_view>
#include <vector>

// The changes as the user reads them.
//
// The listing (UTF-8): one line per change,
//   kind<TAB>number<TAB>scene<TAB>character<TAB>old text<TAB>new text
// (a field is empty where its side is absent), then one line per character
// with changed lines, in the order the characters first appear above:
//   変更数<TAB>character<TAB>count
// Notes have no character and are not counted.
//
// The CSV (CP932, CR LF): the header row 種類,番号,シーン,キャラ名,旧テキスト,新テキスト
// and the same rows as the listing's change lines.
namespace ChangeReport {

struct CharacterCount {
    std::string character; // CP932
    int changes = 0;
};

std::string listing(const std::vector<LineChange>& changes);
std::string csv(const std::vector<LineChange>& changes);
std::vector<CharacterCount> countsByCharacter(const std::vector<LineChange>& changes);

} // namespace ChangeReport
