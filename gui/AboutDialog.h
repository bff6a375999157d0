#pragma once

#include "gui/DialogBase.h"

#include <QUrl>
#include <functional>
#include <memory>

namespace Ui {
class AboutDialog;
}

class AboutModel;
class QAbstractButton;

// The About box (template 221): the version line in the static 1244, the
// chosen page's text in the read-only text box 1001 (web addresses in it are
// links that open in the desktop's browser), one radio button per offered
// page (1014 for page 0, then 1015, 1013, 1033, 1034, 1035, 1036 and 1028),
// "サイトへ" (1124) for the program's web site and OK (1).
class AboutDialog : public DialogBase {
    Q_OBJECT

public:
    static constexpr int TemplateNumber = 221;
    static constexpr int TextId = 1001;
    static constexpr int VersionLineId = 1244;
    static constexpr int SiteButtonId = 1124;
    static constexpr int OkId = 1;

    // Hands an address to the desktop: true when it was opened.
    using DesktopOpener = std::function<bool(const QUrl& address)>;

    AboutDialog(QWidget* parent, AboutModel& model);
    ~AboutDialog() override;

    // Shows the About box modally over parent and returns when it is closed.
    static void show(QWidget* parent, AboutModel& model);
    using QDialog::show;

    // Replaces the desktop opener (QDesktopServices) until it is set again;
    // an empty function puts the desktop's back. For tests, which must not
    // launch a browser.
    static void setDesktopOpener(DesktopOpener opener);

    // The page shown now (0 to 7).
    int currentPage() const { return m_page; }

private:
    void showPage(int index);
    void openLink(const QUrl& address);
    void openSite();

    std::unique_ptr<Ui::AboutDialog> m_ui;
    AboutModel& m_model;
    int m_page = 0;
};
