// Saves a picture of the whole screen of the running X display as PNG, and
// fails when the picture is one flat colour (nothing was drawn).

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QSet>
#include <cstdio>

int main(int argc, char** argv)
{
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: gui_screenshot FILE.png\n");
        return 2;
    }
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) {
        std::fprintf(stderr, "gui_screenshot: no screen\n");
        return 1;
    }
    const QImage picture = screen->grabWindow(0).toImage();
    QSet<QRgb> colours;
    for (int y = 0; y < picture.height() && colours.size() < 16; y += 4) {
        for (int x = 0; x < picture.width() && colours.size() < 16; x += 4)
            colours.insert(picture.pixel(x, y));
    }
    if (!picture.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "gui_screenshot: cannot write %s\n", argv[1]);
        return 1;
    }
    if (colours.size() < 3) {
        std::fprintf(stderr, "gui_screenshot: the screen shows nothing (%lld colours)\n",
                     static_cast<long long>(colours.size()));
        return 1;
    }
    return 0;
}
