#pragma once

#include "fc/Notices.h"

#include <string_view>

class UxDialogHost;

// The notice dialog (a text and OK) and the question dialog ("はい" and
// "いいえ"), shown through the installed host. An absent or empty title is
// "quillon utility". Texts are CP932.
class UxDialogs {
public:
    static constexpr const char* DefaultTitle = "quillon utility";

    static void notice(std::string_view text, std::string_view title = {});
    static bool question(std::string_view text, std::string_view title = {});
    // The two as the Notices that work is handed: they go to the installed
    // host at the time of each call.
    static Notices& notices();

    // The host (not owned); null goes back to the headless one.
    static void install(UxDialogHost* host);
    static UxDialogHost& host();

    // Installs a host for the lifetime of the scope.
    class Scope {
    public:
        explicit Scope(UxDialogHost& host);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        UxDialogHost* m_previous;
    };

private:
    static UxDialogHost* s_host;
};
