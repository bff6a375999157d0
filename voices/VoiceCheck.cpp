#include "voices/VoiceCheck.h"

#include "fc/Progress.h"
#include "platform/Sjis.h"

#include <map>
#include <unordered_map>

namespace {

// The rows of the table: the given order, then newcomers as they speak;
// only characters with lines keep a row.
std::vector<VoiceCheck::Totals> characterRows(const std::vector<SpeakerLine>& lines,
                                              const std::vector<std::string>& order,
                                              std::vector<VoiceCheck::Line>& results)
{
    std::unordered_map<std::string, int> position;
    std::vector<std::string> names;
    for (const std::string& name : order) {
        if (position.emplace(name, int(names.size())).second)
            names.push_back(name);
    }
    std::vector<int> lineCount;
    lineCount.resize(names.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        auto [at, added] = position.emplace(lines[i].character, int(names.size()));
        if (added) {
            names.push_back(lines[i].character);
            lineCount.push_back(0);
        }
        results[i].character = at->second;
        ++lineCount[std::size_t(at->second)];
    }
    std::vector<int> row(names.size(), -1);
    std::vector<VoiceCheck::Totals> rows;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (lineCount[i] == 0)
            continue;
        row[i] = int(rows.size());
        rows.push_back({names[i]});
    }
    for (VoiceCheck::Line& line : results)
        line.character = row[std::size_t(line.character)];
    return rows;
}

void add(VoiceCheck::Totals& totals, const VoiceCheck::Line& line, double seconds)
{
    ++totals.lines;
    switch (line.state) {
    case VoiceCheck::State::Duplicate:
        ++totals.duplicate;
        [[fallthrough]];
    case VoiceCheck::State::Recorded:
        ++totals.recorded;
        totals.seconds += seconds;
        break;
    case VoiceCheck::State::Broken:
        ++totals.broken;
        break;
    case VoiceCheck::State::Missing:
        ++totals.missing;
        break;
    case VoiceCheck::State::NoNumber:
        ++totals.noNumber;
        break;
    }
}

} // namespace

VoiceCheck::Result VoiceCheck::run(const std::vector<SpeakerLine>& lines, const Delivery& delivery,
                                   const std::vector<std::string>& characterOrder,
                                   const Probe& probe, Progress& progress)
{
    Result result;
    result.lines.resize(lines.size());
    result.files.resize(delivery.audio.size());
    result.characters = characterRows(lines, characterOrder, result.lines);

    // Lines by number, in scenario order.
    std::unordered_map<uint64_t, std::vector<int>> linesOf;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].number)
            linesOf[*lines[i].number].push_back(int(i));
    }
    std::unordered_map<uint64_t, std::vector<int>> filesOf;
    int toProbe = 0;
    for (std::size_t i = 0; i < delivery.audio.size(); ++i) {
        const DeliveredFile& file = delivery.audio[i];
        if (file.number && linesOf.count(*file.number) != 0) {
            result.files[i].matched = true;
            filesOf[*file.number].push_back(int(i));
            ++toProbe;
        } else {
            result.unmatched.push_back(int(i));
        }
    }

    progress.setTitle(Sjis::of("納品音声の確認"));
    progress.setText(Sjis::of("音声ファイルを確認しています。"));
    progress.setupBar(true, 0, 0, toProbe);
    progress.open(true);
    for (std::size_t i = 0; i < delivery.audio.size(); ++i) {
        if (!result.files[i].matched)
            continue;
        result.files[i].probe = probe(delivery.audio[i]);
        progress.step();
        progress.pump();
        if (progress.cancelled()) {
            progress.close();
            result.cancelled = true;
            return result;
        }
    }
    progress.close();

    for (std::size_t i = 0; i < lines.size(); ++i) {
        Line& line = result.lines[i];
        double seconds = 0;
        if (!lines[i].number) {
            line.state = State::NoNumber;
        } else {
            auto found = filesOf.find(*lines[i].number);
            if (found != filesOf.end())
                line.files = found->second;
            int good = 0;
            for (int file : line.files) {
                const AudioProbe::Result& probed = result.files[std::size_t(file)].probe;
                if (probed.broken())
                    continue;
                if (good++ == 0) {
                    line.file = file;
                    seconds = probed.seconds();
                }
            }
            if (line.files.empty())
                line.state = State::Missing;
            else if (good == 0)
                line.state = State::Broken;
            else
                line.state = line.files.size() >= 2 ? State::Duplicate : State::Recorded;
            if (line.state == State::Broken)
                line.file = line.files.front();
        }
        add(result.characters[std::size_t(line.character)], line, seconds);
        add(result.total, line, seconds);
    }

    // Shared numbers in the order their first line comes.
    std::map<int, std::vector<int>> shared;
    for (const auto& [number, sharing] : linesOf) {
        if (sharing.size() >= 2)
            shared.emplace(sharing.front(), sharing);
    }
    for (auto& [first, sharing] : shared)
        result.sharedNumbers.push_back(std::move(sharing));
    return result;
}
