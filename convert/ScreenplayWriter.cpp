#include "convert/ScreenplayWriter.h"

#include "convert/ConversionState.h"
#include "convert/SourceCollection.h"
#include "convert/SourceLine.h"
#include "fc/Diagnostic.h"
#include "fc/FCPathName.h"
#include "platform/Sjis.h"

#include <string_view>

namespace {

// Notes stand twelve columns in, clear of the speech lines' labels.
constexpr const char* Indent = "            ";

// The CP932 forms of the texts every line may write, looked up once rather
// than per line.
struct Texts {
    const char* openNote = Sjis::of("【");
    const char* closeNote = Sjis::of("】\n");
    const char* picture = Sjis::of("【 ＣＧ表示：");
    const char* background = Sjis::of("環境BG");
    const char* openQuote = Sjis::of("「");
    const char* closeQuote = Sjis::of("」\n");
    const char* openAlias = Sjis::of("（");
    const char* closeAlias = Sjis::of("）");
    const char* openSpaced = Sjis::of("【 ");
    const char* closeSpaced = Sjis::of(" 】\n");
    const char* effect = Sjis::of("【 効果音再生：");
};

const Texts& texts()
{
    static const Texts cached;
    return cached;
}

bool oneOf(std::string_view word, std::initializer_list<const char*> words)
{
    for (const char* candidate : words) {
        if (word == candidate)
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

ScreenplayWriter::ScreenplayWriter(ConversionState& state, std::size_t batch)
    : m_state(state), m_batch(batch)
{
}

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
    if (!m_batch.add(outputPath, screenplay) || (m_batch.full() && commit(log, outputPath))) {
        logNotWritten(outputPath, log);
        return Result::NotWritten;
    }
    if (!m_written.insert(outputPath.toStdString()).second)
        log << Sjis::of("同じ名前の台本ファイルを上書きしました：") << outputPath << "\n";
    log << Sjis::of("○：") << outputName << "\n";
    return Result::Written;
}

int ScreenplayWriter::finish(FCString& log)
{
    commit(log, FCString());
    const int lost = m_lost;
    m_lost = 0;
    return lost;
}

bool ScreenplayWriter::commit(FCString& log, const FCString& current)
{
    std::vector<FCString> failed;
    m_batch.commit(failed);
    bool currentFailed = false;
    for (const FCString& path : failed) {
        if (!currentFailed && !current.isEmpty() && path.equals(current)) {
            currentFailed = true;
            continue;
        }
        ++m_lost;
        logNotWritten(path, log);
    }
    return currentFailed;
}

void ScreenplayWriter::logNotWritten(const FCString& outputPath, FCString& log)
{
    log << Sjis::of("台本ファイルを書き込めません：") << outputPath << "\n";
    log << Sjis::of("×：") << FCPathName(outputPath).fileNamePart() << "\n";
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
    const Texts& t = texts();
    const FCString comment = line.commentText();
    const int first = comment.charCodeAt(0);
    if (first == ';' || first == 0x8149 /* ！ */) {
        const std::string_view rest = comment.view().substr(first == ';' ? 1 : 2);
        body << Indent << t.openNote;
        body.append(rest);
        body << t.closeNote;
        return;
    }
    if (oneOf(firstWord(comment).view(), {"EV", "EVCG", t.background, "BG"}))
        body << Indent << t.picture << comment << t.closeNote;
}

void ScreenplayWriter::convertMacro(const SourceLine& line, FCString& body)
{
    const FCString macro = line.macroName();
    if (macro.equals("BLOCK_ENTRY"))
        body << Indent << Sjis::of("【 ↓BLOCKID=") << line.macroArgument() << " "
             << Sjis::of("】\n");
    else if (macro.equals("BLOCK_ELSE"))
        body << Indent << Sjis::of("【 最後のブロック 】\n");
    else if (macro.equals("CMD_SETBLOCK"))
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
    const FCIdString* speaker = m_state.definition(line.object());
    if (!speaker) {
        log << Sjis::of("登録されていない名前があります（") << FCString(line.object())
            << Sjis::of("）：") << sourcePath << "\n";
        return;
    }
    // Labels are six digits wide: a longer id keeps its last six.
    char number[7];
    int32_t label = line.id() % 1000000;
    for (int digit = 5; digit >= 0; --digit, label /= 10)
        number[digit] = char('0' + label % 10);
    number[6] = ' ';
    const Texts& t = texts();
    body.append(std::string_view(number, sizeof number));
    body << *speaker;
    if (!line.alias().empty()) {
        body << t.openAlias;
        body.append(line.alias());
        body << t.closeAlias;
    }
    body << t.openQuote;
    body.append(line.spoken());
    body << t.closeQuote;
    m_state.header().countLine(speaker->id(), line.id());
    m_spoke = true;
}

void ScreenplayWriter::convertCommand(const SourceLine& line, FCString& body)
{
    const Texts& t = texts();
    const std::string_view method = line.method();
    if (method == "fadeOut") {
        body << Indent << Sjis::of("【 暗／明転 】\n");
    } else if (method == "fadeOutCg") {
        body << Indent << Sjis::of("【 暗転 】\n");
    } else if (method == "initQuestion") {
        body << "\n" << Indent << Sjis::of("【 選択肢 】\n");
        m_choice = 0;
    } else if (method == "prepareQuestion") {
        ++m_choice;
        body << Indent << t.openSpaced << m_choice << "." << line.stringArgument() << t.closeSpaced;
    } else if (oneOf(method, {"enterEffect", "playLoopEffect", "enterLoopEffect"})) {
        convertEffect(line, false, body);
    } else if (method == "playEffect") {
        convertEffect(line, true, body);
    } else if (oneOf(method, {"entry", "changeRequest"})) {
        body << Indent << Sjis::of("【 シーン移動：") << line.stringArgument()
             << Sjis::of("へ 】\n");
    }
}

void ScreenplayWriter::convertEffect(const SourceLine& line, bool secondArgument, FCString& body)
{
    const Texts& t = texts();
    FCString comment;
    if (line.trailingComment(comment)) {
        body << Indent << t.openSpaced << comment << t.closeSpaced;
        return;
    }
    const int32_t effect = line.numberArgument(secondArgument);
    if (effect >= 0)
        body << Indent << t.effect << effect << t.closeSpaced;
}
