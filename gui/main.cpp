#include "app/ProgramOptions.h"
#include "app/ProgramStart.h"
#include "app/Quillon.h"
#include "gui/DesktopEnvironment.h"
#include "gui/MainWindow.h"
#include "gui/QtDialogHost.h"
#include "gui/QtProgressView.h"
#include "gui/QtPrompt.h"
#include "gui/QtTranslations.h"
#include "platform/SystemClock.h"
#include "platform/TextCodec.h"

#include <QApplication>
#include <QLocale>
#include <QStringList>
#include <QtGlobal>
#include <iostream>
#include <string>
#include <vector>

namespace {

// The whole text after the program name, as the program receives it: the
// arguments joined by blanks. Quotes the shell kept are part of the text.
// A text that Shift-JIS cannot write names no folder of this program.
std::string commandLine(const QStringList& arguments)
{
    const QString text = arguments.mid(1).join(QLatin1Char(' '));
    std::string cp932;
    if (text.isEmpty() || !TextCodec::fromUtf8Exact(text.toStdString(), cp932))
        return {};
    return cp932;
}

} // namespace

int main(int argc, char** argv)
{
    // The help needs no window: it is answered before Qt looks for a
    // display, so that it works on a terminal without one.
    const std::vector<std::string> words(argv + 1, argv + argc);
    if (ProgramOptions::helpAsked(words)) {
        ProgramOptions::printHelp(std::cout);
        return 0;
    }
    const ProgramOptions::Environment environment{
        !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"),
        !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")};
    if (ProgramOptions::displayMissing(words, environment)) {
        std::cerr << ProgramOptions::noDisplayMessage;
        return 1;
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("quillon"));
    QApplication::setDesktopFileName(QStringLiteral("quillon"));
    // Qt's dialogs and menus in the user's language; without a catalogue
    // for it they stay English.
    QtTranslations qtTexts;
    (void)qtTexts.install(QLocale::system());

    // From here on the program's boxes, notices and progress are windows,
    // and its folders and files are chosen in the toolkit's dialogs.
    QtPrompt prompt;
    QtDialogHost dialogs;
    QtProgressView progress;
    const SystemClock clock;
    DesktopEnvironment desktop(
        {.dialogs = dialogs, .progress = progress, .prompt = prompt, .clock = clock});

    Quillon app;
    ProgramStart::prepare(app, commandLine(QApplication::arguments()));
    {
        MainWindow window(app, desktop);
        window.exec();
    }
    ProgramStart::finish(app);
    return 0;
}
