#include "batch/ConversionSession.h"

#include "batch/BatchArguments.h"
#include "batch/BatchInterrupt.h"
#include "platform/TextCodec.h"
#include "ui/UxProgressDialog.h"

#include <ostream>

ConversionSession::ConversionSession(std::ostream& out, std::ostream& err)
    : m_out(out), m_err(err), m_dialogs(m_notices, err), m_dialogScope(m_dialogs), m_prompt(err),
      m_promptScope(m_prompt), m_model(m_state)
{
}

ConversionSession::~ConversionSession() = default;

int ConversionSession::fill(const BatchArguments& args)
{
    FCString* fields[] = {&m_model.sourceFolderText, &m_model.outputFolderText,
                          &m_model.definitionsText};
    for (std::size_t i = 0; i < 3; ++i) {
        std::string text;
        if (!TextCodec::fromUtf8Exact(args.positional()[i], text)) {
            m_err << "quillon-batch: the name cannot be written in Shift-JIS: "
                  << args.positional()[i] << "\n";
            return Failed;
        }
        *fields[i] = FCString(text);
    }
    m_model.includeSubfolders = args.has("subfolders");
    return Done;
}

int ConversionSession::status(ConversionDialogModel::Outcome outcome)
{
    switch (outcome) {
    case ConversionDialogModel::Outcome::InputMissing:
        m_err << "quillon-batch: " << TextCodec::toUtf8(m_model.message().view()) << "\n";
        return Failed;
    case ConversionDialogModel::Outcome::Refused:
        m_err << "quillon-batch: " << TextCodec::toUtf8(m_model.refusal().view()) << "\n";
        return Failed;
    case ConversionDialogModel::Outcome::Cancelled:
        return BatchInterrupt::CancelledStatus;
    case ConversionDialogModel::Outcome::Done:
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
