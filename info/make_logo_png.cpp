// Writes the program's logo as a PNG file, for the icon that the desktop shows.
//   kalvero-logo-png FILE SIDE
#include <QGuiApplication>
#include <QPixmap>
#include <cstdio>
#include <cstdlib>

#include "kalvero_logo.h"

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    bool sideOk = false;
    const int side = arguments.size() == 3 ? arguments.at(2).toInt(&sideOk) : 0;
    if (!sideOk || side < 16 || side > 1024) {
        std::fputs("usage: kalvero-logo-png FILE SIDE (16 to 1024)\n", stderr);
        return 2;
    }
    if (!KalveroLogo(side).save(arguments.at(1), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(arguments.at(1)));
        return 1;
    }
    return 0;
}
