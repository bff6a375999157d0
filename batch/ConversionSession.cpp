#include "batch/ConversionSession.h"

#include "batch/BatchArguments.h"
#include "batch/BatchInterrupt.h"
#include "platform/Cp932.h"
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

namespace {

// A log repeats lines (one for each speech line of a speaker nobody
// defined): each run of equal lines is converted once. A line break is
// never part of a two-byte character, so lines convert alone as they do
// within the whole text; only a lead byte just before a break leaves the
// pairing to the converter, and such a text is converted whole. False then.
bool convertLines(std::string_view text, std::string& utf8)
{
    utf8.reserve(text.size() + text.size() / 2);
    std::string_view previous;
    std::string converted;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = text.find('\n', at);
        const std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
        const std::string_view line = text.substr(at, next - at);
        if (end != std::string_view::npos && line != previous) {
            const char* p = line.data();
            const char* const lineEnd = text.data() + end;
            const char* last = p;
            while (p < lineEnd) {
                last = p;
                p += Cp932::charLength(p, lineEnd);
            }
            if (lineEnd - last == 1 && Cp932::isLeadByte(static_cast<unsigned char>(*last)))
                return false;
        }
        if (line != previous) {
            converted = TextCodec::toUtf8(line);
            previous = line;
        }
        utf8 += converted;
        at = next;
    }
    return true;
}

} // namespace

std::string ConversionSession::shown(const FCString& text)
{
    std::string utf8;
    if (!convertLines(text.view(), utf8))
        utf8 = TextCodec::toUtf8(text.view());
    if (utf8.empty() || utf8.back() != '\n')
        utf8 += '\n';
    return utf8;
}
