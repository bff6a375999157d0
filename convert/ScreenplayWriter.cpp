#include "convert/ScreenplayWriter.h"

#include "convert/ConversionState.h"
#include "convert/SourceCollection.h"
#include "convert/SourceLine.h"
#include "fc/Diagnostic.h"
#include "fc/FCPathName.h"
#include "fc/FileReplacement.h"
#include "platform/Sjis.h"

#include <cstdio>

namespace {

// Notes stand twelve columns in, clear of the speech lines' labels.
constexpr const char* Indent = "            ";

bool oneOf(const FCString& word, std::initializer_list<const char*> words)
{
    for (const char* candidate : words) {
        if (word.equals(candidate))
            return true;
    }
    return false;
}

// The first word of a comment: up to the first "." or digit, upper-cased.
FCString firstWord(const FCString& comment)
{
    FCString cursor(comment);
    FCString word;
    cursor.rewind();
    const int32_t end = cursor.findAnyOf(".0123456789");
    word =
        FCString(comment.view().substr(0, size_t(end == FCString::none ? comment.length() : end)));
    word.toUpper();
    return word;
}

} // namespace

ScreenplayWriter::ScreenplayWriter(ConversionState& state) : m_state(state) {}

ScreenplayWriter::~ScreenplayWriter() = default;

FCString ScreenplayWriter::sceneNameOf(const FCString& sourcePath)
{
    FCString scene = FCPathName(sourcePath).fileNamePart();
    scene.replaceAll(".cpp", "");
    return scene;
}

ScreenplayWriter::Result ScreenplayWriter::convertSource(const FCString& sourcePath,
                                                         const FCString& outputFolder,
                                                         FCString& log)
{
    const FCPathName source(sourcePath);
    const FCString scene = sceneNameOf(source.string());
    FCString outputPath = SourceCollection::folderPath(outputFolder);
    outputPath << scene << ".screenplay.txt";
    const FCString outputName = FCPathName(outputPath).fileNamePart();

    FCString text;
    bool readable = true;
    try {
        text.loadFile(source.text());
    } catch (const Diagnostic&) {
        // The file layer has told the user; the run goes on with the next
        // source and the log keeps the gap.
        readable = false;
    }
    if (!readable) {
        log << Sjis::of("ソースファイルを読み込めません：") << source.string() << "\n";
        log << Sjis::of("×：") << outputName << "\n";
        return Result::Unreadable;
    }

    FCString screenplay;
    if (!convertText(text, scene, source.string(), screenplay, log)) {
        log << Sjis::of("×：") << outputName << "\n";
        return Result::NoSpeech;
    }
    if (!FileReplacement::replace(outputPath, screenplay.view())) {
        log << Sjis::of("台本ファイルを書き込めません：") << outputPath << "\n";
        log << Sjis::of("×：") << outputName << "\n";
        return Result::NotWritten;
    }
    if (!m_written.insert(outputPath.toStdString()).second)
        log << Sjis::of("同じ名前の台本ファイルを上書きしました：") << outputPath << "\n";
    log << Sjis::of("○：") << outputName << "\n";
    return Result::Written;
}

bool ScreenplayWriter::convertText(const FCString& source, const FCString& sceneName,
                                   const FCString& sourcePath, FCString& screenplay, FCString& log)
{
    RavconHeader& header = m_state.header();
    header.reset(sceneName, m_state.characterCount());
    m_spoke = false;
    m_choice = 0;

    FCString body;
    body.create(65536, "");
    std::size_t at = 0;
    std::string_view line;
    while (SourceLine::nextLine(source.view(), at, line))
        convertLine(SourceLine(line), sourcePath, body, log);

    screenplay.create(65536, "");
    if (!m_spoke)
        return false;
    header.write(screenplay);
    screenplay << body;
    return true;
}

void ScreenplayWriter::convertLine(const SourceLine& line, const FCString& sourcePath,
                                   FCString& body, FCString& log)
{
    switch (line.kind()) {
    case SourceLine::Kind::Comment:
        convertComment(line, body);
        break;
    case SourceLine::Kind::Macro:
        convertMacro(line, body);
        break;
    case SourceLine::Kind::Speech:
        convertSpeech(line, sourcePath, body, log);
        break;
    case SourceLine::Kind::Command:
        convertCommand(line, body);
        break;
    }
}

void ScreenplayWriter::convertComment(const SourceLine& line, FCString& body)
{
    const FCString comment = line.commentText();
    const int first = comment.charCodeAt(0);
    if (first == ';' || first == 0x8149 /* ！ */) {
        FCString rest(comment);
        rest.rewind();
        rest.nextChar();
        body << Indent << Sjis::of("【") << FCString(rest.view().substr(size_t(rest.cursor())))
             << Sjis::of("】\n");
        return;
    }
    if (oneOf(firstWord(comment), {"EV", "EVCG", Sjis::of("環境BG"), "BG"}))
        body << Indent << Sjis::of("【 ＣＧ表示：") << comment << Sjis::of("】\n");
}

void ScreenplayWriter::convertMacro(const SourceLine& line, FCString& body)
{
    const FCString name = line.macroName();
    if (name.equals("BLOCK_ENTRY"))
        body << Indent << Sjis::of("【 ↓BLOCKID=") << line.macroArgument() << " "
             << Sjis::of("】\n");
    else if (name.equals("BLOCK_ELSE"))
        body << Indent << Sjis::of("【 最後のブロック 】\n");
    else if (name.equals("CMD_SETBLOCK"))
        body << Indent << Sjis::of("【 ↑END BLOCKID:") << line.macroArgument()
             << Sjis::of("はここまで 】\n\n");
}

void ScreenplayWriter::convertSpeech(const SourceLine& line, const FCString& sourcePath,
                                     FCString& body, FCString& log)
{
    if (line.unassignedId()) {
        log << Sjis::of("未解決のメッセージIDが含まれています：") << sourcePath << "\n";
        return;
    }
    if (line.id() < 0)
        return;
    const FCIdString* speaker = m_state.definition(line.object().view());
    if (!speaker) {
        log << Sjis::of("登録されていない名前があります（") << line.object() << Sjis::of("）：")
            << sourcePath << "\n";
        return;
    }
    // Labels are six digits wide: a longer id keeps its last six.
    char number[8];
    std::snprintf(number, sizeof number, "%06d", int(line.id() % 1000000));
    body << number << " " << *speaker;
    if (!line.alias().isEmpty())
        body << Sjis::of("（") << line.alias() << Sjis::of("）");
    body << Sjis::of("「") << line.spoken() << Sjis::of("」\n");
    m_state.header().countLine(speaker->id(), line.id());
    m_spoke = true;
}

void ScreenplayWriter::convertCommand(const SourceLine& line, FCString& body)
{
    const FCString& method = line.method();
    if (method.equals("fadeOut")) {
        body << Indent << Sjis::of("【 暗／明転 】\n");
    } else if (method.equals("fadeOutCg")) {
        body << Indent << Sjis::of("【 暗転 】\n");
    } else if (method.equals("initQuestion")) {
        body << "\n" << Indent << Sjis::of("【 選択肢 】\n");
        m_choice = 0;
    } else if (method.equals("prepareQuestion")) {
        ++m_choice;
        body << Indent << Sjis::of("【 ") << m_choice << "." << line.stringArgument()
             << Sjis::of(" 】\n");
    } else if (oneOf(method, {"enterEffect", "playLoopEffect", "enterLoopEffect"})) {
        convertEffect(line, false, body);
    } else if (method.equals("playEffect")) {
        convertEffect(line, true, body);
    } else if (oneOf(method, {"entry", "changeRequest"})) {
        body << Indent << Sjis::of("【 シーン移動：") << line.stringArgument()
             << Sjis::of("へ 】\n");
    }
}

void ScreenplayWriter::convertEffect(const SourceLine& line, bool secondArgument, FCString& body)
{
    FCString comment;
    if (line.trailingComment(comment)) {
        body << Indent << Sjis::of("【 ") << comment << Sjis::of(" 】\n");
        return;
    }
    const int32_t effect = line.numberArgument(secondArgument);
    if (effect >= 0)
        body << Indent << Sjis::of("【 効果音再生：") << effect << Sjis::of(" 】\n");
}
