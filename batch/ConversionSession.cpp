#include "batch/ConversionSession.h"

#include "batch/BatchArguments.h"
#include "batch/BatchInterrupt.h"
#include "platform/TextCodec.h"
#include "ui/UxProgressDialog.h"

#include <ostream>

ConversionSession::ConversionSession(ProgramEnvironment& environment, std::ostream& out,
                                     std::ostream& err)
    : m_environment(environment), m_out(out), m_err(err), m_dialogs(out, err), m_notices(m_dialogs),
      m_prompt(err), m_promptScope(m_prompt), m_service(m_state)
{
}

ConversionSession::~ConversionSession() = default;

std::optional<int> ConversionSession::begin(const std::vector<std::string>& words,
                                            const CommandHelp& help, BatchArguments& args)
{
    if (!args.parse(words, help))
        return args.answer(m_out, m_err, help);
    FCString* fields[] = {&m_inputs.sourceFolder, &m_inputs.outputFolder, &m_inputs.definitions};
    for (std::size_t i = 0; i < 3; ++i) {
        std::string text;
        if (!TextCodec::fromUtf8Exact(args.positional()[i], text)) {
            m_err << "quillon-batch: the name cannot be written in Shift-JIS: "
                  << args.positional()[i] << "\n";
            return Failed;
        }
        *fields[i] = FCString(text);
    }
    m_inputs.includeSubfolders = args.has("subfolders");
    return std::nullopt;
}

int ConversionSession::status(const ConversionService::Result& result)
{
    switch (result.outcome) {
    case ConversionService::Outcome::InputMissing:
    case ConversionService::Outcome::Refused:
        m_err << "quillon-batch: " << TextCodec::toUtf8(result.message.view()) << "\n";
        return Failed;
    case ConversionService::Outcome::Cancelled:
        return BatchInterrupt::CancelledStatus;
    case ConversionService::Outcome::Done:
        break;
    }
    // A Ctrl-C typed while no progress dialog was open to take it still
    // makes the finished run a cancelled one.
    return UxProgressDialog::cancelRequested() ? BatchInterrupt::CancelledStatus : Done;
}

std::string ConversionSession::shown(const FCString& text)
{
    std::string utf8 = TextCodec::toUtf8(text.view());
    if (utf8.empty() || utf8.back() != '\n')
        utf8 += '\n';
    return utf8;
}
