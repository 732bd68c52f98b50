#include "CommandLine.h"

#include <QDir>
#include <QFileInfo>

TCommandLine ParseCommandLine(const QStringList& arguments) {
    TCommandLine result;
    if (arguments.size() <= 1) return result;
    const QString& given = arguments.at(1);
    if (arguments.size() > 2 || given.isEmpty() || given.startsWith(u'-')) {
        result.valid = false;
        return result;
    }
    result.file = QDir::cleanPath(QFileInfo(given).absoluteFilePath());
    return result;
}

QString CommandLineUsage() {
    return QStringLiteral(
        "Aufruf: kalvero [DATEI]\n"
        "Öffnet DATEI, eine My Finds Pocket Query als GPX- oder ZIP-Datei, wie im Dialog "
        "\"Datei öffnen\" gewählt. Weitere Argumente oder Optionen gibt es nicht.\n");
}
