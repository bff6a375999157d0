#include <QApplication>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

// Widgets need an application object before the first test builds one, and
// a platform that works without a display: offscreen unless the caller asked
// for another (xcb under Xvfb, to look at the windows).
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    testing::InitGoogleMock(&argc, argv);
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
