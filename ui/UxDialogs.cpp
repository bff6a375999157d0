#include "ui/UxDialogs.h"

#include "ui/HeadlessDialogHost.h"

#include <string>

UxDialogHost* UxDialogs::s_host = nullptr;

namespace {

HeadlessDialogHost& headlessHost()
{
    static HeadlessDialogHost host;
    return host;
}

std::string titleOr(std::string_view title)
{
    return title.empty() ? std::string(UxDialogs::DefaultTitle) : std::string(title);
}

// The installed host seen as Notices.
class InstalledHostNotices : public Notices {
public:
    void notice(std::string_view text, std::string_view title) override
    {
        UxDialogs::notice(text, title);
    }
    bool question(std::string_view text, std::string_view title) override
    {
        return UxDialogs::question(text, title);
    }
};

} // namespace

Notices& UxDialogs::notices()
{
    static InstalledHostNotices notices;
    return notices;
}

void UxDialogs::notice(std::string_view text, std::string_view title)
{
    host().notice(std::string(text), titleOr(title));
}

bool UxDialogs::question(std::string_view text, std::string_view title)
{
    return host().question(std::string(text), titleOr(title));
}

void UxDialogs::install(UxDialogHost* host)
{
    s_host = host;
}

UxDialogHost& UxDialogs::host()
{
    return s_host ? *s_host : headlessHost();
}

UxDialogs::Scope::Scope(UxDialogHost& host) : m_previous(s_host)
{
    s_host = &host;
}

UxDialogs::Scope::~Scope()
{
    s_host = m_previous;
}
