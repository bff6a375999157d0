#include "batch/WordsCommand.h"

#include "batch/BatchArguments.h"
#include "batch/FolderSession.h"
#include "platform/TextCodec.h"
#include "reports/WordCounts.h"

#include <ostream>

int WordsCommand::run(ProgramEnvironment& environment, const std::vector<std::string>& words,
                      std::ostream& out, std::ostream& err)
{
    BatchArguments args;
    if (!args.parse(words, help))
        return args.answer(out, err, help);
    FolderSession session(environment, out, err);
    if (int status = session.open(args.positional()[0], args))
        return status;
    out << TextCodec::toUtf8(WordCounts::text(session.app().scenarioTotals())) << std::flush;
    return session.finish(FolderSession::Done);
}
