#include "gui/OffscreenApplication.h"

#include <QApplication>
#include <cstdlib>

std::unique_ptr<QCoreApplication> OffscreenApplication::start(int& argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    return std::make_unique<QApplication>(argc, argv);
}
