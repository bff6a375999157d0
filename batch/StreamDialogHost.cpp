#include "batch/StreamDialogHost.h"

#include "platform/Sjis.h"
#include "platform/TextCodec.h"

#include <ostream>

StreamDialogHost::StreamDialogHost(std::ostream& out, std::ostream& err, bool answerYes)
    : m_out(out), m_err(err), m_answerYes(answerYes)
{
}

StreamDialogHost::~StreamDialogHost() = default;

void StreamDialogHost::notice(const std::string& text, const std::string&)
{
    std::string shown = TextCodec::toUtf8(text);
    if (shown.empty() || shown.back() != '\n')
        shown += '\n';
    m_out << shown << std::flush;
}

bool StreamDialogHost::question(const std::string& text, const std::string& title)
{
    const char* answer = m_answerYes ? Sjis::of("はい") : Sjis::of("いいえ");
    m_err << "quillon-batch: " << TextCodec::toUtf8(title) << ": " << TextCodec::toUtf8(text)
          << " -> " << TextCodec::toUtf8(answer) << "\n"
          << std::flush;
    return m_answerYes;
}
