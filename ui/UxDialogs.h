#pragma once

#include "fc/Notices.h"

#include <string_view>

class UxDialogHost;

// The notice dialog (a text and OK) and the question dialog ("はい" and
// "いいえ") of one dialog host, as the Notices that work is handed. An
// absent or empty title is "quillon utility". Texts are CP932.
class UxDialogs : public Notices {
public:
    static constexpr const char* DefaultTitle = "quillon utility";

    // The host is not owned.
    explicit UxDialogs(UxDialogHost& host);
    ~UxDialogs() override;

    void notice(std::string_view text, std::string_view title = {}) override;
    bool question(std::string_view text, std::string_view title = {}) override;

private:
    UxDialogHost& m_host;
};
