#include "convert/ConversionService.h"

#include "convert/MessageIdReport.h"
#include "convert/ScreenplayWriter.h"
#include "convert/SourceCollection.h"
#include "convert/SourceSurvey.h"
#include "convert/SpareFiles.h"
#include "fc/FCPathName.h"
#include "fc/FileHelpers.h"
#include "fc/FileReplacement.h"
#include "fc/Notices.h"
#include "fc/Progress.h"
#include "platform/FileSystem.h"
#include "platform/SilentPrompt.h"
#include "platform/Sjis.h"
#include "platform/WorkerPool.h"

#include <algorithm>
#include <memory>
#include <vector>

ConversionService::ConversionService(ConversionState& state) : m_state(state) {}

ConversionService::~ConversionService() = default;

const char* ConversionService::progressTitle()
{
    return Sjis::of("台本の出力");
}

const char* ConversionService::progressText()
{
    return Sjis::of("旧CPPからravcon形式の台本を出力しています");
}

const char* ConversionService::overwriteTitle()
{
    return Sjis::of("ログファイル上書きの確認");
}

const char* ConversionService::cancelledLine()
{
    return Sjis::of("処理はキャンセルされました");
}

FCString ConversionService::missingInput(const Inputs& inputs)
{
    if (inputs.sourceFolder.isEmpty())
        return FCString(Sjis::of("入力するCPPのあるフォルダを指定して下さい"));
    if (inputs.outputFolder.isEmpty())
        return FCString(Sjis::of("台本を出力するフォルダを指定して下さい。"));
    if (inputs.definitions.isEmpty())
        return FCString(Sjis::of("真の名前を定義したファイルを指定して下さい。"
                                 "真の名前,OBJECT名 の形で定義されています。"));
    return FCString();
}

FCString ConversionService::loadInputs(const Inputs& inputs, bool forSurvey)
{
    if (!SourceCollection::folderExists(inputs.sourceFolder))
        return FCString(Sjis::of("ソースフォルダが見つかりません"));
    if (!SourceCollection::folderExists(inputs.outputFolder))
        return FCString(Sjis::of("出力先フォルダが見つかりません"));
    m_state.resetConversionState();
    if (!m_state.loadNameDefinitions(FCPathName(inputs.definitions).string()))
        return FCString(Sjis::of("名前定義ファイルを登録できません"));
    if (!forSurvey)
        m_state.header().loadNames(m_state.definitionsText());
    return FCString();
}

ConversionService::Result ConversionService::survey(const Inputs& inputs, const Message& message)
{
    Result result;
    result.message = missingInput(inputs);
    if (!result.message.isEmpty()) {
        result.outcome = Outcome::InputMissing;
        return result;
    }
    m_state.resetConversionState();
    result.message = loadInputs(inputs, true);
    if (!result.message.isEmpty()) {
        result.outcome = Outcome::Refused;
        return result;
    }
    result.definitions = m_state.nameDefinitions();
    SourceSurvey::surveyFolder(m_state, inputs.sourceFolder, inputs.includeSubfolders, message);
    result.text = MessageIdReport::text(m_state);
    return result;
}

ConversionService::Result ConversionService::convert(const Inputs& inputs, Progress& progress,
                                                     const Message& message)
{
    Result result;
    result.message = missingInput(inputs);
    if (!result.message.isEmpty()) {
        result.outcome = Outcome::InputMissing;
        return result;
    }
    result.message = loadInputs(inputs, false);
    if (!result.message.isEmpty()) {
        result.outcome = Outcome::Refused;
        return result;
    }
    result.definitions = m_state.nameDefinitions();

    if (message)
        message(FCString(Sjis::of("処理対象ファイル一覧の作成中...")));
    SourceCollection::Sources sources;
    (void)SourceCollection::collectSources(sources, inputs.sourceFolder, "*.cpp",
                                           inputs.includeSubfolders);
    if (message)
        message(FCString());

    progress.setTitle(progressTitle());
    progress.setText(progressText());
    progress.setupBar(true, 0, 0, int32_t(sources.size()));
    progress.open(true);

    FCString& log = result.text;
    log.create(65536, "");
    result.sourceCount = int(sources.size());
    const std::vector<FCString> paths(sources.begin(), sources.end());
    const FCString outputFolder = SourceCollection::folderPath(inputs.outputFolder);
    // The screenplay files go into place a batch at a time, which makes them
    // durable with one flush per batch instead of one per file; every file
    // of the run is in place before the log shows the end or the cancel.
    // The old files the new ones replace are written over by the run's
    // later files; the spares left at the end go after the last batch.
    SpareFiles spares;
    ScreenplayWriter writer(m_state, ScreenplayWriter::RunBatch);
    writer.recycle(&spares);
    // More threads than sources would only wait. A prepared source is its
    // log lines and an open temporary file: the threads may run a hundred
    // or so ahead of this one, so that they go on while it waits for a
    // batch to reach the disk, and the open files stay far below the
    // process's limit.
    const int jobs =
        int(std::min<std::size_t>(std::size_t(inputs.jobs > 0 ? inputs.jobs : WorkerPool::cores()),
                                  std::max<std::size_t>(paths.size(), 1)));
    WorkerPool pool(jobs, std::max(4, 128 / jobs));
    std::vector<RavconHeader> headers(std::size_t(pool.jobs()), m_state.header());
    std::vector<std::unique_ptr<ScreenplayWriter>> workers;
    for (RavconHeader& header : headers) {
        workers.push_back(std::make_unique<ScreenplayWriter>(m_state, header));
        workers.back()->recycle(&spares);
    }
    pool.map<ScreenplayWriter::Prepared>(
        int(paths.size()),
        [&](int index, int worker) {
            // Nothing is said to the user from here: whatever would be is
            // met again by the commit, on this thread, in source order.
            SilentPrompt silent;
            Prompt::ThreadScope quiet(silent);
            try {
                ScreenplayWriter::Prepared prepared =
                    workers[std::size_t(worker)]->prepare(paths[std::size_t(index)], outputFolder);
                if (!silent.asked())
                    return prepared;
            } catch (...) {
            }
            return ScreenplayWriter::Prepared{};
        },
        [&](int index, ScreenplayWriter::Prepared& prepared) {
            const FCString& source = paths[std::size_t(index)];
            if (writer.commit(source, outputFolder, prepared, log) ==
                ScreenplayWriter::Result::Written)
                ++result.writtenCount;
            FCString text = FCPathName(source).fileNamePart();
            text << Sjis::of("を出力中");
            progress.setText(text.view());
            progress.step();
            progress.pump();
            if (!progress.cancelled())
                return true;
            result.writtenCount -= writer.finish(log);
            log << "\n" << cancelledLine() << "\n";
            result.outcome = Outcome::Cancelled;
            return false;
        });
    result.writtenCount -= writer.finish(log);
    // The progress goes before the caller shows the log, so that the two
    // never share the screen.
    progress.close();
    return result;
}

ConversionService::LogSave ConversionService::saveLog(const FCString& path, const FCString& log,
                                                      Notices& notices)
{
    const FCPathName file(path);
    uint32_t attributes = 0;
    if (fileExists(file.text(), &attributes)) {
        FCString question(file.string());
        question << Sjis::of("\nが存在しています。上書きしても構いませんか？");
        if (!notices.question(question.view(), overwriteTitle()))
            return LogSave::KeptExisting;
    }
    // A folder cannot take the log's place; the replacement refuses it.
    const bool saved = (attributes & FileSystem::AttributeDirectory) == 0 &&
                       FileReplacement::replace(file.string(), log.view());
    return saved ? LogSave::Saved : LogSave::Failed;
}
