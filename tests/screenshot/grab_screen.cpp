// Grabs the whole screen of the display it runs on and says whether it shows a window:
// prints the number of distinct colours and exits 0 when there are at least `minimum`.
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QSet>
#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: grab_screen OUTPUT.png MINIMUM_COLOURS\n");
        return 2;
    }
    QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        std::fprintf(stderr, "grab_screen: no screen\n");
        return 2;
    }
    const QImage image = screen->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
    image.save(QString::fromLocal8Bit(argv[1]));
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 2) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); x += 2) {
            colours.insert(line[x]);
        }
    }
    std::printf("%lld\n", static_cast<long long>(colours.size()));
    return colours.size() >= QString::fromLocal8Bit(argv[2]).toLongLong() ? 0 : 1;
}
