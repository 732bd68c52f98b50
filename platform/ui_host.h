#pragma once
// The host's modal user interface: message boxes, the open dialog, links and external
// programs. The windows reach them only through UiHost, so tests can install a scripted
// host and never block on a modal window.
#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <optional>

class QWidget;

namespace platform {

enum class MessageIcon { Error, Warning, Question, Information };

class UiHost {
public:
    virtual ~UiHost() = default;

    // A modal message box; returns the button the user pressed.
    virtual QMessageBox::StandardButton messageBox(QWidget* parent, const QString& caption,
                                                   const QString& text, MessageIcon icon,
                                                   QMessageBox::StandardButtons buttons,
                                                   QMessageBox::StandardButton defaultButton) = 0;

    // The open dialog. `filter` uses the "Caption|pattern|Caption|pattern" form; the first
    // entry is selected. A typed name of a file that does not exist is accepted. Returns no
    // value when the user cancels.
    virtual std::optional<QString> openFileName(QWidget* parent, const QString& filter) = 0;

    // Opens a link in the user's browser; false when that failed.
    virtual bool openUrl(const QUrl& url) = 0;

    // Starts a program detached; false when it could not be started.
    virtual bool startProgram(const QString& program, const QStringList& arguments) = 0;

    // The modal password dialog: `caption`, `label` in front of an edit field of at most
    // `maxLength` characters that echoes "*", "OK" (default) and "Cancel". Returns the typed
    // text, or no value for Cancel or a closed dialog. A host without one answers Cancel.
    virtual std::optional<QString> passwordDialog(QWidget* parent, const QString& caption,
                                                  const QString& label, int maxLength);
};

// The host in use: the Qt implementation unless a test installed another.
UiHost& Ui();
// Installs `host` (not owned); nullptr restores the Qt implementation.
void SetUi(UiHost* host);

// Turns a "Caption|pattern|..." filter into Qt's "Caption (pattern);;..." form. "*.*" means
// every file.
QString ToQtFileFilter(const QString& filter);

}  // namespace platform
