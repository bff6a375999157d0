#include "changes/SceneVersion.h"

#include "document/ScreenplayBodyLine.h"
#include "document/ScreenplayHeader.h"
#include "document/ScreenplayScanner.h"
#include "voices/VoiceNumberPattern.h"

#include <algorithm>

namespace {

constexpr int FullWidthSpace = 0x8140;

void readBody(ScreenplayScanner& scanner, SceneVersion& version)
{
    // The header is read as the layout reads it, so that a body line is
    // compared exactly when it would be printed; its order and its counts
    // are no part of the comparison.
    ScreenplayHeader header;
    if (!header.read(scanner))
        return;
    version.sceneName = header.sceneName().toStdString();
    std::string_view text;
    int bodyLine = 0;
    while (scanner.nextLine(text)) {
        // Lines the layout drops still count as positions in the file.
        const int position = bodyLine++;
        const ScreenplayBodyLine body = ScreenplayBodyLine::classify(text);
        if (body.kind == ScreenplayBodyLine::Kind::Ignored)
            continue;
        SceneVersion::Line line;
        line.bodyLine = position;
        line.text = SceneVersion::withoutTrailingBlanks(body.text);
        if (body.kind == ScreenplayBodyLine::Kind::Speaker) {
            line.label = body.labelNumber;
            line.number = VoiceNumberPattern::decimal(body.labelNumber);
            line.kind = line.number ? SceneVersion::Kind::Numbered : SceneVersion::Kind::Unnumbered;
            line.character = SceneVersion::withoutTrailingBlanks(body.speakerName);
            line.speaker = body.speakerName;
        }
        version.lines.push_back(std::move(line));
    }
}

} // namespace

std::string_view SceneVersion::withoutTrailingBlanks(std::string_view text)
{
    // Walked from the front, so that a trail byte is never taken for a
    // blank of its own.
    std::size_t kept = 0;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::string_view rest = text.substr(at);
        const int code = ScreenplayScanner::codeAt(rest);
        const std::size_t length = std::max<std::size_t>(1, ScreenplayScanner::charLength(rest));
        at += length;
        if (code != ' ' && code != '\t' && code != FullWidthSpace)
            kept = at;
    }
    return text.substr(0, kept);
}

SceneVersion SceneVersion::fromText(std::string_view cp932)
{
    SceneVersion version;
    ScreenplayScanner scanner(cp932);
    readBody(scanner, version);
    return version;
}

SceneVersion SceneVersion::fromScanner(ScreenplayScanner& scanner)
{
    SceneVersion version;
    readBody(scanner, version);
    return version;
}
