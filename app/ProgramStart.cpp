#include "app/ProgramStart.h"

#include "app/InputHistory.h"
#include "app/Quillon.h"
#include "fc/Diagnostic.h"
#include "fc/FCPathName.h"
#include "platform/Trace.h"
#include "format/ConfirmedFolderCreation.h"

#include <string>

void ProgramStart::prepare(Quillon& app, std::string_view commandLine)
{
    app.windowRectangle() = WindowConfiguration::restore();
    for (int slot = 0; slot < InputHistory::SlotCount; ++slot) {
        try {
            app.histories().load(slot);
        } catch (const Diagnostic& error) {
            // The file layer has told the user; a slot that could not be
            // read stays empty and its file is left as it is.
            Trace::write("ProgramStart: history " + std::to_string(slot) +
                         " not loaded: " + error.message() + "\n");
        }
    }
    if (commandLine.empty())
        return;
    FCPathName path{FCString(commandLine)};
    if (!path.isAbsolute())
        return;
    path.addSeparator();
    // Only a folder can be a scenario folder: a file named on the command
    // line is ignored as a missing path is.
    if (!ConfirmedFolderCreation::folderExists(path.string().view()))
        return;
    app.setScenarioFolder(path.string().view());
    app.setLoadAtStart(true);
}

void ProgramStart::windowClosing(Quillon& app, const WindowRectangle& rectangle)
{
    app.windowRectangle() = rectangle;
    WindowConfiguration::save(rectangle);
}

void ProgramStart::finish(Quillon& app)
{
    for (int slot = 0; slot < InputHistory::SlotCount; ++slot) {
        try {
            app.histories().save(slot);
        } catch (const Diagnostic& error) {
            Trace::write("ProgramStart: history " + std::to_string(slot) +
                         " not saved: " + error.message() + "\n");
        }
    }
}
