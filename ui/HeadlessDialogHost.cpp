#include "ui/HeadlessDialogHost.h"

#include "platform/Sjis.h"
#include "platform/TextCodec.h"

#include <string>

HeadlessDialogHost::HeadlessDialogHost(bool answerYes, std::FILE* out, std::FILE* err)
    : m_answerYes(answerYes), m_out(out), m_err(err)
{
}

HeadlessDialogHost::~HeadlessDialogHost() = default;

void HeadlessDialogHost::notice(const std::string& text, const std::string&)
{
    if (!m_out)
        return;
    std::string shown = TextCodec::toUtf8(text);
    if (shown.empty() || shown.back() != '\n')
        shown += '\n';
    std::fputs(shown.c_str(), m_out);
    std::fflush(m_out);
}

bool HeadlessDialogHost::question(const std::string& text, const std::string& title)
{
    if (m_err) {
        const char* answer = m_answerYes ? Sjis::of("はい") : Sjis::of("いいえ");
        std::string shown = TextCodec::toUtf8(title) + ": " + TextCodec::toUtf8(text) + " -> " +
                            TextCodec::toUtf8(answer) + "\n";
        std::fputs(shown.c_str(), m_err);
        std::fflush(m_err);
    }
    return m_answerYes;
}
