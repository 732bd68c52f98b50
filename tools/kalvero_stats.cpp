// kalvero-stats: the finds analysis of the main window on the command line.
//   kalvero-stats [--json] [--password PW] FILE
// FILE is treated exactly as a file chosen in the window's open dialog. The password of an
// encrypted pocket query comes from --password or, when that is missing or wrong, from the
// terminal; without one the entry is skipped and named on standard error (exit status 1).
#include <unistd.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>
#include <exception>
#include <optional>

#include "StatsReport.h"
#include "app/ErrorText.h"
#include "app/Global_Unit.h"
#include "tools/PasswordOption.h"
#include "tools/TerminalPrompt.h"
#include "zip/ZipArchiver.h"

namespace {

constexpr int kShown = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;
constexpr int kRefused = 3;

void Print(FILE* to, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), to);
}

int Usage() {
    Print(stderr, QStringLiteral("Aufruf: kalvero-stats [--json] [--password PASSWORT] DATEI\n"
                                 "Wertet eine \"My Finds\" Pocket Query (GPX oder ZIP) aus wie das Fenster.\n"
                                 "Exit-Status: 0 Ergebnis, 1 Fehler, 2 falscher Aufruf, 3 keine My Finds Pocket Query.\n"));
    return kUsage;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool json = args.removeAll(QStringLiteral("--json")) > 0;
    std::optional<QString> password;
    if (const qsizetype at = args.indexOf(QStringLiteral("--password")); at >= 0) {
        if (at + 1 >= args.size()) return Usage();
        password = args.takeAt(at + 1);
        args.removeAt(at);
    }
    if (args.size() != 1 || args[0].startsWith(u'-')) return Usage();

    TGlobalUnit global;
    global.Initialize();
    TStatsToolView view;
    TTerminalPrompt prompt;
    prompt.Install();
    TZipArchiver archiver;
    archiver.SetName(u"Archiver");
    if (password) ApplyPasswordOption(archiver, password->toStdString());
    TFileOpenFlow flow(global, view, archiver);
    const QString path = QFileInfo(args[0]).absoluteFilePath();
    try {
        flow.Accept(path);
    } catch (const std::exception& e) {
        Print(stderr, WithFullStop(QString::fromUtf8(e.what())) + u'\n');
        return kFailed;
    }
    if (archiver.FileSkipped()) {
        Print(stderr, QString::fromStdString(SkippedEntryMessage(global.GpxName.toStdU16String())) + u'\n');
        return kFailed;
    }

    const TStatsResult result{path, &global.GpxZeilen, &view, &global.Finds};
    if (json) {
        Print(stdout, FormatJson(result) + u'\n');
    } else {
        Print(stdout, FormatText(result, isatty(STDOUT_FILENO) != 0));
    }
    if (!view.shown.refusals.empty()) {
        Print(stderr, view.shown.refusals.front() + u'\n');
        return kRefused;
    }
    return kShown;
}
