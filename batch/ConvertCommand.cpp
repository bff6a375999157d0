#include "batch/ConvertCommand.h"

#include "app/ProgramEnvironment.h"
#include "batch/BatchArguments.h"
#include "batch/ConversionSession.h"
#include "platform/TextCodec.h"
#include "ui/UxProgressDialog.h"

#include <ostream>

int ConvertCommand::run(ProgramEnvironment& environment, const std::vector<std::string>& words,
                        std::ostream& out, std::ostream& err)
{
    BatchArguments args;
    ConversionSession session(environment, out, err);
    if (const std::optional<int> status = session.begin(words, help, args))
        return *status;
    std::optional<long> jobs;
    if (!args.wholeNumber("jobs", 0, jobs))
        return args.refuse(err, usage);
    if (jobs)
        session.setJobs(static_cast<int>(*jobs));
    FCString logFile;
    if (auto log = args.value("log")) {
        std::string path;
        if (!TextCodec::fromUtf8Exact(*log, path)) {
            err << "quillon-batch: --log: the file name cannot be written in Shift-JIS: " << *log
                << "\n";
            return ConversionSession::Failed;
        }
        logFile = FCString(path);
    }
    session.setAnswerYes(args.has("yes"));

    // The progress line on a terminal; a Ctrl-C reaches the run through it.
    UxProgressDialog progress(session.environment().progressView());
    const ConversionService::Result result = session.service().convert(session.inputs(), progress);
    const bool ran = result.outcome == ConversionService::Outcome::Done ||
                     result.outcome == ConversionService::Outcome::Cancelled;
    // The question about an existing log file comes before the log, as the
    // dialog asks it once the run has ended.
    ConversionService::LogSave logSave = ConversionService::LogSave::NotAsked;
    if (ran && !logFile.isEmpty())
        logSave = ConversionService::saveLog(logFile, result.text, session.notices());
    if (!result.text.isEmpty())
        out << ConversionSession::shown(result.text) << std::flush;
    int status = session.status(result);
    switch (logSave) {
    case ConversionService::LogSave::KeptExisting:
        err << "quillon-batch: the log file exists and was left unchanged (--yes overwrites it): "
            << *args.value("log") << "\n";
        break;
    case ConversionService::LogSave::Failed:
        err << "quillon-batch: the log could not be saved: " << *args.value("log") << "\n";
        if (status == ConversionSession::Done)
            status = ConversionSession::Failed;
        break;
    case ConversionService::LogSave::NotAsked:
    case ConversionService::LogSave::Saved:
        break;
    }
    return status;
}
