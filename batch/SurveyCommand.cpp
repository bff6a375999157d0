#include "batch/SurveyCommand.h"

#include "batch/BatchArguments.h"
#include "batch/ConversionSession.h"

#include <ostream>

int SurveyCommand::run(ProgramEnvironment& environment, const std::vector<std::string>& words,
                       std::ostream& out, std::ostream& err)
{
    BatchArguments args;
    ConversionSession session(environment, out, err);
    if (const std::optional<int> status = session.begin(words, help, args))
        return *status;
    const ConversionService::Result result = session.service().survey(session.inputs());
    if (result.outcome == ConversionService::Outcome::Done)
        out << ConversionSession::shown(result.text) << std::flush;
    return session.status(result);
}
