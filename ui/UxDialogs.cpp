#include "ui/UxDialogs.h"

#include "ui/UxDialogHost.h"

#include <string>

namespace {

std::string titleOr(std::string_view title)
{
    return title.empty() ? std::string(UxDialogs::DefaultTitle) : std::string(title);
}

} // namespace

UxDialogs::UxDialogs(UxDialogHost& host) : m_host(host) {}

UxDialogs::~UxDialogs() = default;

void UxDialogs::notice(std::string_view text, std::string_view title)
{
    m_host.notice(std::string(text), titleOr(title));
}

bool UxDialogs::question(std::string_view text, std::string_view title)
{
    return m_host.question(std::string(text), titleOr(title));
}
