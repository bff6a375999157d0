#include "batch/ConvertCommand.h"

#include "batch/BatchArguments.h"
#include "batch/ConversionSession.h"
#include "platform/TextCodec.h"

#include <ostream>

int ConvertCommand::run(const std::vector<std::string>& words, std::ostream& out, std::ostream& err)
{
    BatchArguments args;
    if (!args.parse(words, help))
        return args.answer(out, err, help);
    ConversionSession session(out, err);
    if (int status = session.fill(args))
        return status;
    ConversionDialogModel& model = session.model();
    if (auto log = args.value("log")) {
        std::string path;
        if (!TextCodec::fromUtf8Exact(*log, path)) {
            err << "quillon-batch: --log: the file name cannot be written in Shift-JIS: " << *log
                << "\n";
            return ConversionSession::Failed;
        }
        model.logFileText = FCString(path);
    }
    session.setAnswerYes(args.has("yes"));

    const ConversionDialogModel::Outcome outcome = model.convert();
    if (!model.log().isEmpty())
        out << ConversionSession::shown(model.log()) << std::flush;
    int status = session.status(outcome);
    switch (model.logSave()) {
    case ConversionDialogModel::LogSave::KeptExisting:
        err << "quillon-batch: the log file exists and was left unchanged (--yes overwrites it): "
            << *args.value("log") << "\n";
        break;
    case ConversionDialogModel::LogSave::Failed:
        err << "quillon-batch: the log could not be saved: " << *args.value("log") << "\n";
        if (status == ConversionSession::Done)
            status = ConversionSession::Failed;
        break;
    case ConversionDialogModel::LogSave::NotAsked:
    case ConversionDialogModel::LogSave::Saved:
        break;
    }
    return status;
}
