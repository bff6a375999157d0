#include "app/WindowConfiguration.h"

#include "fc/FCFileUty.h"
#include "fc/UxRnf.h"
#include "platform/ProgramFolders.h"
#include "platform/Trace.h"

namespace {

const char* const KeyX = "system.sx";
const char* const KeyY = "system.sy";
const char* const KeyWidth = "system.sw";
const char* const KeyHeight = "system.sh";

WindowRectangle readRectangle(UxRnf& store)
{
    WindowRectangle rectangle;
    store.getNumber(rectangle.x, KeyX, 0, -1, true);
    store.getNumber(rectangle.y, KeyY, 0, -1, true);
    store.getNumber(rectangle.width, KeyWidth, 0, -1, true);
    store.getNumber(rectangle.height, KeyHeight, 0, -1, true);
    return rectangle;
}

} // namespace

std::string WindowConfiguration::configurationPath()
{
    return ProgramFolders::programFolder() + "quillon.configuration";
}

std::string WindowConfiguration::oldIniPath()
{
    return ProgramFolders::programFolder() + "quillon.ini";
}

WindowRectangle WindowConfiguration::restore()
{
    UxRnf store;
    WindowRectangle rectangle;
    if (store.load(configurationPath().c_str())) {
        rectangle = readRectangle(store);
    } else {
        std::string ini = oldIniPath();
        if (store.importIni(ini.c_str())) {
            rectangle = readRectangle(store);
            // The old file is taken over once; should it refuse to go, the
            // configuration file written below wins from the next start on.
            if (!FCFileUty::remove(ini.c_str()))
                Trace::write("WindowConfiguration: old settings file left: " + ini + "\n");
        }
    }
    // Written in every case, so that the file exists after the first start.
    store.destroy();
    return rectangle;
}

void WindowConfiguration::save(const WindowRectangle& rectangle)
{
    UxRnf store;
    store.load(configurationPath().c_str());
    store.setNumber(KeyX, rectangle.x);
    store.setNumber(KeyY, rectangle.y);
    store.setNumber(KeyWidth, rectangle.width);
    store.setNumber(KeyHeight, rectangle.height);
    store.destroy();
}
