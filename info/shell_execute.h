#pragma once
// Opening links and starting the system-information tool, with the shell's result numbers:
// above 32 means success, 32 or less names the failure.
#include <QString>
#include <QStringList>
#include <QUrl>
#include <optional>

class QWidget;

// Results as the window examines them.
constexpr int kShellExecuteSucceeded = 33;  // any value above 32
constexpr int SE_ERR_FNF = 2;
constexpr int SE_ERR_NOASSOC = 31;

// Opens `url` in the user's browser: kShellExecuteSucceeded when that worked, SE_ERR_NOASSOC
// when the system found no program for it.
int ShellOpenUrl(const QUrl& url);

// The German text for a failed result; empty for results the table does not know.
QString ShellExecuteErrorText(int result);

// Nothing for a result above 32; otherwise the box "Fataler Dateifehler !" (exclamation, OK)
// with the result's text.
void ShowShellExecuteError(QWidget* parent, int result);

struct SystemInfoTool {
    QString program;
    QStringList arguments;
};

// The first system-information program found on the search path (or in `searchPaths` when
// given); no value when the system has none.
std::optional<SystemInfoTool> FindSystemInfoTool(const QStringList& searchPaths = {});
