#include "voices/VoiceReport.h"

#include "platform/Sjis.h"
#include "platform/TextCodec.h"

#include <cmath>
#include <cstdio>
#include <set>

namespace {

std::string utf8(std::string_view cp932)
{
    return TextCodec::toUtf8(cp932);
}

std::string cp932(std::string_view utf8Text)
{
    return TextCodec::fromUtf8(utf8Text);
}

std::vector<std::string> row(const VoiceCheck::Totals& totals, std::string name)
{
    std::vector<std::string> cells{std::move(name)};
    for (int value :
         {totals.lines, totals.recorded, totals.missing, totals.duplicate, totals.broken})
        cells.push_back(std::to_string(value));
    cells.push_back(VoiceReport::duration(totals.seconds));
    return cells;
}

void join(std::string& out, const VoiceReport::Rows& rows)
{
    for (const std::vector<std::string>& cells : rows) {
        for (std::size_t i = 0; i < cells.size(); ++i) {
            if (i > 0)
                out += '\t';
            out += cells[i];
        }
        out += '\n';
    }
}

} // namespace

std::string VoiceReport::duration(double seconds)
{
    const long long tenths = seconds > 0 ? std::llround(seconds * 10) : 0;
    char text[48];
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld.%lld", tenths / 36000, tenths / 600 % 60,
                  tenths / 10 % 60, tenths % 10);
    return text;
}

std::string VoiceReport::csvField(std::string_view text)
{
    if (text.find_first_of(",\"\r\n") == std::string_view::npos)
        return std::string(text);
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

const char* VoiceReport::stateText(VoiceCheck::State state)
{
    switch (state) {
    case VoiceCheck::State::Recorded:
        return Sjis::of("収録済");
    case VoiceCheck::State::Duplicate:
        return Sjis::of("重複");
    case VoiceCheck::State::Broken:
        return Sjis::of("破損");
    case VoiceCheck::State::Missing:
        return Sjis::of("未収録");
    case VoiceCheck::State::NoNumber:
        return Sjis::of("番号なし");
    }
    return "";
}

const std::vector<std::string>& VoiceReport::tableHeader()
{
    static const std::vector<std::string> header{"キャラ名", "台詞数", "収録済",  "未収録",
                                                 "重複",     "破損",   "収録時間"};
    return header;
}

VoiceReport::Rows VoiceReport::characterRows(const Input& input)
{
    Rows rows;
    for (const VoiceCheck::Totals& totals : input.result.characters)
        rows.push_back(row(totals, utf8(totals.character)));
    rows.push_back(row(input.result.total, "総数"));
    return rows;
}

VoiceReport::Rows VoiceReport::problems(const Input& input)
{
    const VoiceCheck::Result& result = input.result;
    const auto& files = input.delivery.audio;
    Rows rows;
    auto scene = [&](const SpeakerLine& line) {
        return utf8(input.sceneNames[std::size_t(line.scene)]);
    };
    for (std::size_t i = 0; i < input.lines.size(); ++i) {
        const SpeakerLine& line = input.lines[i];
        if (result.lines[i].state == VoiceCheck::State::Missing)
            rows.push_back({"未収録", utf8(line.label), scene(line), utf8(line.character)});
    }
    // A number several lines share is one duplicate, told once.
    std::set<uint64_t> told;
    for (std::size_t i = 0; i < input.lines.size(); ++i) {
        const VoiceCheck::Line& line = result.lines[i];
        if (line.state != VoiceCheck::State::Duplicate ||
            !told.insert(*input.lines[i].number).second)
            continue;
        std::vector<std::string> cells{"重複", utf8(input.lines[i].label)};
        for (int file : line.files)
            cells.push_back(files[std::size_t(file)].path);
        rows.push_back(std::move(cells));
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        const VoiceCheck::File& file = result.files[i];
        if (file.matched && file.probe.broken())
            rows.push_back({"破損", files[i].path, utf8(file.probe.brokenReason)});
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        const AudioProbe::Result& probe = result.files[i].probe;
        if (!result.files[i].matched)
            continue;
        if (probe.silent()) {
            char peak[32];
            if (probe.peak > 0)
                std::snprintf(peak, sizeof peak, "%.1f dBFS", probe.peakDecibels());
            else
                std::snprintf(peak, sizeof peak, "-inf dBFS");
            rows.push_back({"無音", files[i].path, peak});
        } else if (probe.clipped()) {
            rows.push_back({"音割れ", files[i].path});
        }
    }
    for (int file : result.unmatched)
        rows.push_back({"対応なし", files[std::size_t(file)].path});
    for (const std::vector<int>& sharing : result.sharedNumbers) {
        std::vector<std::string> cells{"番号重複",
                                       utf8(input.lines[std::size_t(sharing.front())].label)};
        for (int line : sharing)
            cells.push_back(scene(input.lines[std::size_t(line)]));
        rows.push_back(std::move(cells));
    }
    for (std::size_t i = 0; i < input.lines.size(); ++i) {
        const SpeakerLine& line = input.lines[i];
        if (result.lines[i].state == VoiceCheck::State::NoNumber)
            rows.push_back({"番号なし", utf8(line.label), scene(line), utf8(line.character)});
    }
    return rows;
}

std::string VoiceReport::table(const Input& input)
{
    std::string out;
    join(out, {tableHeader()});
    join(out, characterRows(input));
    join(out, problems(input));
    return out;
}

std::string VoiceReport::csv(const Input& input)
{
    const VoiceCheck::Result& result = input.result;
    const auto& files = input.delivery.audio;
    std::string out = Sjis::of("メッセージ番号,シーン,キャラ名,状態,ファイル,秒数");
    out += "\r\n";
    for (std::size_t i = 0; i < input.lines.size(); ++i) {
        const SpeakerLine& line = input.lines[i];
        const VoiceCheck::Line& checked = result.lines[i];
        out += csvField(line.label) + "," + csvField(input.sceneNames[std::size_t(line.scene)]) +
               "," + csvField(line.character) + "," + stateText(checked.state) + ",";
        if (checked.file >= 0) {
            out += csvField(cp932(files[std::size_t(checked.file)].path));
            if (checked.state != VoiceCheck::State::Broken) {
                char seconds[32];
                std::snprintf(seconds, sizeof seconds, "%.3f",
                              result.files[std::size_t(checked.file)].probe.seconds());
                out += std::string(",") + seconds;
            } else {
                out += ",";
            }
        } else {
            out += ",";
        }
        out += "\r\n";
    }
    for (int file : result.unmatched)
        out += std::string(",,,") + Sjis::of("対応なし") + "," +
               csvField(cp932(files[std::size_t(file)].path)) + ",\r\n";
    return out;
}
