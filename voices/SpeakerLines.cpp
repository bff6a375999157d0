#include "voices/SpeakerLines.h"

#include "document/ScreenplayBodyLine.h"
#include "document/ScreenplayHeader.h"
#include "document/ScreenplayScanner.h"
#include "document/ScreenplaySource.h"
#include "fc/Diagnostic.h"
#include "voices/VoiceNumberPattern.h"

namespace {

void readBody(ScreenplayScanner& scanner, int scene, std::vector<SpeakerLine>& lines)
{
    // The header is read as the layout engine reads it, so that a body line
    // is a speaker line here exactly when it is one on the printed page.
    ScreenplayHeader header;
    if (!header.read(scanner))
        return;
    std::string_view line;
    for (int bodyLine = 0; scanner.nextLine(line); ++bodyLine) {
        const ScreenplayBodyLine body = ScreenplayBodyLine::classify(line);
        if (body.kind != ScreenplayBodyLine::Kind::Speaker)
            continue;
        lines.push_back({std::string(body.labelNumber),
                         VoiceNumberPattern::decimal(body.labelNumber), scene,
                         std::string(body.speakerName), bodyLine});
    }
}

} // namespace

void SpeakerLines::readText(std::string_view text, int scene, std::vector<SpeakerLine>& lines)
{
    ScreenplayScanner scanner(text);
    readBody(scanner, scene, lines);
}

SpeakerLines::Result SpeakerLines::read(const std::vector<SceneFile>& scenes)
{
    Result result;
    for (int scene = 0; scene < int(scenes.size()); ++scene) {
        const std::size_t before = result.lines.size();
        try {
            ScreenplaySource source;
            if (!source.open(scenes[std::size_t(scene)].path.c_str())) {
                result.unreadable.push_back(scene);
                continue;
            }
            ScreenplayScanner scanner(
                [&source](char* buffer, std::size_t capacity) {
                    return source.read(buffer, capacity);
                },
                ScreenplaySource::PieceSize);
            readBody(scanner, scene, result.lines);
        } catch (const Diagnostic&) {
            // The file layer has put the failure to the user; a scene read in
            // part would report its other lines as missing.
            result.lines.erase(result.lines.begin() + std::ptrdiff_t(before), result.lines.end());
            result.unreadable.push_back(scene);
        }
    }
    return result;
}
