#pragma once
// A host user interface for tests: message boxes and the open dialog answer from a script
// and are recorded, so no test ever waits on a modal window.
#include <deque>
#include <vector>

#include "platform/ui_host.h"

struct TShownBox {
    QString caption;
    QString text;
    platform::MessageIcon icon;
    QMessageBox::StandardButtons buttons;
    // The cursor shape the application forced while the box was open, if it forced one.
    std::optional<Qt::CursorShape> overrideCursor;
};

class TScriptedUi : public platform::UiHost {
public:
    TScriptedUi() { platform::SetUi(this); }
    ~TScriptedUi() override { platform::SetUi(nullptr); }

    QMessageBox::StandardButton messageBox(QWidget*, const QString& caption, const QString& text,
                                           platform::MessageIcon icon,
                                           QMessageBox::StandardButtons buttons,
                                           QMessageBox::StandardButton defaultButton) override;
    std::optional<QString> openFileName(QWidget*, const QString& filter) override;
    bool openUrl(const QUrl& url) override;
    bool startProgram(const QString& program, const QStringList& arguments) override;

    // Paths the open dialog returns in turn; an empty optional is a cancelled dialog.
    std::deque<std::optional<QString>> dialogAnswers;
    std::vector<QString> dialogFilters;
    std::vector<TShownBox> boxes;
    std::vector<QUrl> openedUrls;
    std::vector<QString> startedPrograms;
    bool urlResult = true;
    bool programResult = true;
};
