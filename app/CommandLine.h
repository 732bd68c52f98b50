#pragma once
// The program's command line: nothing, or the one file to open as if it had been chosen in
// the open dialog (how a file manager's "Open with" hands a file over). There are no options.
#include <QString>
#include <QStringList>
#include <optional>

struct TCommandLine {
    bool valid = true;
    // The file to open, as a full path.
    std::optional<QString> file;
};

// `arguments` as QCoreApplication::arguments() gives them: the program first, Qt's own
// options already taken out. A relative file is taken from the current folder. More than one
// argument, or one that starts with "-", makes the command line invalid.
TCommandLine ParseCommandLine(const QStringList& arguments);

// What the program prints on standard error for an invalid command line.
QString CommandLineUsage();
