#pragma once

#include "ui/ProgressView.h"

#include <chrono>
#include <cstdio>
#include <string>

// The progress dialog without a window: one line on a terminal, redrawn in
// place ("\r"), with the text, "n/m" and a bar; nothing at all when the
// stream is not a terminal, so that logs and pipes stay clean. Redraws are
// spaced out (the last position always shows), since a folder of thousands
// of files steps far faster than a terminal is worth updating.
class HeadlessProgressView : public ProgressView {
public:
    static constexpr int BarWidth = 20;

    // stderr, shown only when it is a terminal.
    HeadlessProgressView();
    // Explicit stream and decision (tests).
    HeadlessProgressView(std::FILE* stream, bool enabled);
    ~HeadlessProgressView() override;

    void opened(UxProgressDialog& dialog) override;
    void textChanged(UxProgressDialog& dialog) override;
    void positionChanged(UxProgressDialog& dialog) override;
    void pump(UxProgressDialog& dialog) override;
    void closed(UxProgressDialog& dialog) override;

    // The line for the dialog's state, in UTF-8, without "\r".
    static std::string lineFor(const UxProgressDialog& dialog);

private:
    void draw(const UxProgressDialog& dialog, bool force);

    std::FILE* m_stream;
    bool m_enabled;
    bool m_drawn = false;
    std::chrono::steady_clock::time_point m_lastDraw{};
};
