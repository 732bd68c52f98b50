#include "ui_design.h"

#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace platform {

void RegisterDesignFonts() {
    static bool done = false;
    if (done) return;
    done = true;
    // Wine's bold Tahoma draws like the regular face; without it the bold is synthesised from
    // the regular face and shows.
    const char* files[] = {"/usr/share/wine/fonts/tahoma.ttf", "/usr/share/wine/fonts/ms_sans_serif.ttf"};
    for (const char* file : files) {
        if (QFile::exists(QString::fromLatin1(file))) {
            QFontDatabase::addApplicationFont(QString::fromLatin1(file));
        }
    }
    QFont::insertSubstitutions(QStringLiteral("Tahoma"),
                               {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")});
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Arial"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
}

double DesignScale() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInch() : 96.0;
    return dpi / 120.0;
}

int Px(int designPixels) { return static_cast<int>(std::lround(designPixels * DesignScale())); }

QRect PxRect(int left, int top, int width, int height) {
    return QRect(Px(left), Px(top), Px(width), Px(height));
}

QFont DesignFont(const QString& family, int points, bool bold) {
    QFont font(family);
    font.setPointSize(points);
    font.setBold(bold);
    return font;
}

}  // namespace platform
