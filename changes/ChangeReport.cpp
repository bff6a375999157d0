#include "changes/ChangeReport.h"

#include "platform/Sjis.h"
#include "platform/TextCodec.h"
#include "voices/VoiceReport.h"

#include <unordered_map>

namespace {

// A field of the listing: a TAB or a line break in a text would break the
// line into others, so they are shown as blanks.
std::string listingField(std::string_view cp932)
{
    std::string field = TextCodec::toUtf8(cp932);
    for (char& c : field) {
        if (c == '\t' || c == '\r' || c == '\n')
            c = ' ';
    }
    return field;
}

} // namespace

std::vector<ChangeReport::CharacterCount>
ChangeReport::countsByCharacter(const std::vector<LineChange>& changes)
{
    std::vector<CharacterCount> counts;
    std::unordered_map<std::string, std::size_t> at;
    for (const LineChange& change : changes) {
        if (change.kind == LineChange::Kind::NoteChanged)
            continue;
        auto [found, added] = at.emplace(change.character, counts.size());
        if (added)
            counts.push_back({change.character, 0});
        ++counts[found->second].changes;
    }
    return counts;
}

std::string ChangeReport::listing(const std::vector<LineChange>& changes)
{
    std::string out;
    for (const LineChange& change : changes) {
        out += TextCodec::toUtf8(LineChange::kindText(change.kind));
        for (std::string_view field :
             {std::string_view(change.number), std::string_view(change.scene),
              std::string_view(change.character), std::string_view(change.oldText),
              std::string_view(change.newText)}) {
            out += '\t';
            out += listingField(field);
        }
        out += '\n';
    }
    for (const CharacterCount& count : countsByCharacter(changes))
        out += "変更数\t" + listingField(count.character) + "\t" + std::to_string(count.changes) +
               "\n";
    return out;
}

std::string ChangeReport::csv(const std::vector<LineChange>& changes)
{
    std::string out = Sjis::of("種類,番号,シーン,キャラ名,旧テキスト,新テキスト");
    out += "\r\n";
    for (const LineChange& change : changes) {
        out += LineChange::kindText(change.kind);
        for (const std::string* field :
             {&change.number, &change.scene, &change.character, &change.oldText, &change.newText}) {
            out += ',';
            out += VoiceReport::csvField(*field);
        }
        out += "\r\n";
    }
    return out;
}
