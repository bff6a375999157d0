#include "convert/ScreenplayWriter.h"

#include "convert/ConversionState.h"
#include "convert/QuickFile.h"
#include "convert/SourceCollection.h"
#include "convert/SourceLine.h"
#include "fc/Diagnostic.h"
#include "fc/FCPathName.h"
#include "platform/Sjis.h"
#include "platform/Trace.h"

#include <string_view>

namespace {

// Notes stand twelve columns in, clear of the speech lines' labels.
constexpr const char* Indent = "            ";

// The CP932 forms of the texts every line may write, looked up once rather
// than per line (the lookup takes a lock that threads converting side by
// side would queue for).
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
    const char* blockEntry = Sjis::of("【 ↓BLOCKID=");
    const char* blockElse = Sjis::of("【 最後のブロック 】\n");
    const char* blockEnd = Sjis::of("【 ↑END BLOCKID:");
    const char* closeBlockEnd = Sjis::of("はここまで 】\n\n");
    const char* unassigned = Sjis::of("未解決のメッセージIDが含まれています：");
    const char* unknownSpeaker = Sjis::of("登録されていない名前があります（");
    const char* closeUnknownSpeaker = Sjis::of("）：");
    const char* fadeOut = Sjis::of("【 暗／明転 】\n");
    const char* fadeOutCg = Sjis::of("【 暗転 】\n");
    const char* question = Sjis::of("【 選択肢 】\n");
    const char* sceneMove = Sjis::of("【 シーン移動：");
    const char* closeSceneMove = Sjis::of("へ 】\n");
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
    : ScreenplayWriter(state, state.header(), batch)
{
}

ScreenplayWriter::ScreenplayWriter(const ConversionState& state, RavconHeader& header,
                                   std::size_t batch)
    : m_state(state), m_header(header), m_batch(batch)
{
}

ScreenplayWriter::~ScreenplayWriter() = default;

FCString ScreenplayWriter::sceneNameOf(const FCString& sourcePath)
{
    FCString scene = FCPathName(sourcePath).fileNamePart();
    scene.replaceAll(".cpp", "");
    return scene;
}

FCString ScreenplayWriter::outputPathOf(const FCString& scene, const FCString& outputFolder)
{
    FCString outputPath(outputFolder);
    outputPath << scene << ".screenplay.txt";
    return outputPath;
}

ScreenplayWriter::Result ScreenplayWriter::convertSource(const FCString& sourcePath,
                                                         const FCString& outputFolder,
                                                         FCString& log)
{
    if (m_outputTyped.isEmpty() || !m_outputTyped.equals(outputFolder)) {
        m_outputTyped = outputFolder;
        m_outputFolder = SourceCollection::folderPath(outputFolder);
    }
    Prepared prepared = prepare(sourcePath, m_outputFolder);
    return commit(sourcePath, m_outputFolder, prepared, log);
}

ScreenplayWriter::Prepared ScreenplayWriter::prepare(const FCString& sourcePath,
                                                     const FCString& outputFolder)
{
    Prepared prepared;
    const FCPathName source(sourcePath);
    std::string bytes;
    // A folder that could not be resolved leaves it all to the file layer.
    if (outputFolder.isEmpty() || !QuickFile::read(source.string().view(), bytes))
        return prepared;
    const FCString scene = sceneNameOf(source.string());
    m_trace = &prepared.trace;
    const bool spoke = convertText(FCString(bytes), scene, source.string(), prepared.screenplay,
                                   prepared.problems);
    m_trace = nullptr;
    prepared.again = false;
    prepared.spoke = spoke;
    if (spoke &&
        prepared.file.write(outputPathOf(scene, outputFolder), prepared.screenplay, m_spares))
        prepared.screenplay.clear();
    return prepared;
}

ScreenplayWriter::Result ScreenplayWriter::commit(const FCString& sourcePath,
                                                  const FCString& outputFolder, Prepared& prepared,
                                                  FCString& log)
{
    if (prepared.again)
        return convertAgain(sourcePath, outputFolder, log);
    if (!prepared.trace.isEmpty())
        Trace::write(prepared.trace.view());
    log << prepared.problems;
    const FCString outputPath =
        outputPathOf(sceneNameOf(FCPathName(sourcePath).string()), outputFolder);
    if (!prepared.spoke) {
        log << Sjis::of("×：") << FCPathName(outputPath).fileNamePart() << "\n";
        return Result::NoSpeech;
    }
    return place(outputPath, prepared.screenplay, prepared.file.isOpen() ? &prepared.file : nullptr,
                 log);
}

ScreenplayWriter::Result ScreenplayWriter::convertAgain(const FCString& sourcePath,
                                                        const FCString& outputFolder, FCString& log)
{
    const FCPathName source(sourcePath);
    const FCString scene = sceneNameOf(source.string());
    const FCString outputPath = outputPathOf(scene, outputFolder);
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
    return place(outputPath, screenplay, nullptr, log);
}

ScreenplayWriter::Result ScreenplayWriter::place(const FCString& outputPath, FCString& screenplay,
                                                 ScreenplayBatch::Temporary* file, FCString& log)
{
    bool added = true;
    if (file)
        m_batch.adopt(std::move(*file));
    else
        added = m_batch.add(outputPath, screenplay);
    if (!added || (m_batch.full() && commitBatch(log, outputPath))) {
        logNotWritten(outputPath, log);
        return Result::NotWritten;
    }
    if (!m_written.insert(outputPath.toStdString()).second)
        log << Sjis::of("同じ名前の台本ファイルを上書きしました：") << outputPath << "\n";
    log << Sjis::of("○：") << FCPathName(outputPath).fileNamePart() << "\n";
    return Result::Written;
}

void ScreenplayWriter::recycle(SpareFiles* spares)
{
    m_spares = spares;
    m_batch.recycle(spares);
}

int ScreenplayWriter::finish(FCString& log)
{
    commitBatch(log, FCString());
    const int lost = m_lost;
    m_lost = 0;
    return lost;
}

bool ScreenplayWriter::commitBatch(FCString& log, const FCString& current)
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
    RavconHeader& header = m_header;
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
    header.write(screenplay, m_trace);
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
    const Texts& t = texts();
    const FCString macro = line.macroName();
    if (macro.equals("BLOCK_ENTRY"))
        body << Indent << t.blockEntry << line.macroArgument() << " " << t.closeNote;
    else if (macro.equals("BLOCK_ELSE"))
        body << Indent << t.blockElse;
    else if (macro.equals("CMD_SETBLOCK"))
        body << Indent << t.blockEnd << line.macroArgument() << t.closeBlockEnd;
}

void ScreenplayWriter::convertSpeech(const SourceLine& line, const FCString& sourcePath,
                                     FCString& body, FCString& log)
{
    const Texts& t = texts();
    if (line.unassignedId()) {
        log << t.unassigned << sourcePath << "\n";
        return;
    }
    if (line.id() < 0)
        return;
    const FCIdString* speaker = m_state.definition(line.object());
    if (!speaker) {
        log << t.unknownSpeaker << FCString(line.object()) << t.closeUnknownSpeaker << sourcePath
            << "\n";
        return;
    }
    // Labels are six digits wide: a longer id keeps its last six.
    char number[7];
    int32_t label = line.id() % 1000000;
    for (int digit = 5; digit >= 0; --digit, label /= 10)
        number[digit] = char('0' + label % 10);
    number[6] = ' ';
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
    m_header.countLine(speaker->id(), line.id());
    m_spoke = true;
}

void ScreenplayWriter::convertCommand(const SourceLine& line, FCString& body)
{
    const Texts& t = texts();
    const std::string_view method = line.method();
    if (method == "fadeOut") {
        body << Indent << t.fadeOut;
    } else if (method == "fadeOutCg") {
        body << Indent << t.fadeOutCg;
    } else if (method == "initQuestion") {
        body << "\n" << Indent << t.question;
        m_choice = 0;
    } else if (method == "prepareQuestion") {
        ++m_choice;
        body << Indent << t.openSpaced << m_choice << "." << line.stringArgument() << t.closeSpaced;
    } else if (oneOf(method, {"enterEffect", "playLoopEffect", "enterLoopEffect"})) {
        convertEffect(line, false, body);
    } else if (method == "playEffect") {
        convertEffect(line, true, body);
    } else if (oneOf(method, {"entry", "changeRequest"})) {
        body << Indent << t.sceneMove << line.stringArgument() << t.closeSceneMove;
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
