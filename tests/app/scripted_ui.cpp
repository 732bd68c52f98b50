#include "scripted_ui.h"

#include <QCursor>
#include <QGuiApplication>

QMessageBox::StandardButton TScriptedUi::messageBox(QWidget*, const QString& caption,
                                                    const QString& text,
                                                    platform::MessageIcon icon,
                                                    QMessageBox::StandardButtons buttons,
                                                    QMessageBox::StandardButton defaultButton) {
    std::optional<Qt::CursorShape> cursor;
    if (const QCursor* forced = QGuiApplication::overrideCursor()) cursor = forced->shape();
    boxes.push_back({caption, text, icon, buttons, cursor});
    return defaultButton;
}

std::optional<QString> TScriptedUi::openFileName(QWidget*, const QString& filter) {
    dialogFilters.push_back(filter);
    if (dialogAnswers.empty()) return std::nullopt;
    const bool chosen = dialogAnswers.front().has_value();
    const QString path = dialogAnswers.front().value_or(QString());
    dialogAnswers.pop_front();
    if (!chosen) return std::nullopt;
    return path;
}

bool TScriptedUi::openUrl(const QUrl& url) {
    openedUrls.push_back(url);
    return urlResult;
}

bool TScriptedUi::startProgram(const QString& program, const QStringList&) {
    startedPrograms.push_back(program);
    return programResult;
}
