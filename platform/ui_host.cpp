#include "ui_host.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QProcess>

#include "password_dialog.h"

namespace platform {
namespace {

QMessageBox::Icon ToQtIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Error: return QMessageBox::Critical;
        case MessageIcon::Warning: return QMessageBox::Warning;
        case MessageIcon::Question: return QMessageBox::Question;
        case MessageIcon::Information: return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

class QtUiHost final : public UiHost {
public:
    QMessageBox::StandardButton messageBox(QWidget* parent, const QString& caption,
                                           const QString& text, MessageIcon icon,
                                           QMessageBox::StandardButtons buttons,
                                           QMessageBox::StandardButton defaultButton) override {
        QMessageBox box(ToQtIcon(icon), caption, text, buttons, parent);
        box.setDefaultButton(defaultButton);
        return static_cast<QMessageBox::StandardButton>(box.exec());
    }

    std::optional<QString> openFileName(QWidget* parent, const QString& filter) override {
        QFileDialog dialog(parent);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setNameFilter(ToQtFileFilter(filter));
        dialog.setSizeGripEnabled(true);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
            return std::nullopt;
        }
        return dialog.selectedFiles().constFirst();
    }

    bool openUrl(const QUrl& url) override { return QDesktopServices::openUrl(url); }

    bool startProgram(const QString& program, const QStringList& arguments) override {
        return QProcess::startDetached(program, arguments);
    }

    std::optional<QString> passwordDialog(QWidget* parent, const QString& caption,
                                          const QString& label, int maxLength) override {
        return RunPasswordDialog(parent, caption, label, maxLength);
    }
};

QtUiHost& QtHost() {
    static QtUiHost host;
    return host;
}

UiHost* g_installed = nullptr;

}  // namespace

std::optional<QString> UiHost::passwordDialog(QWidget*, const QString&, const QString&, int) {
    return std::nullopt;
}

UiHost& Ui() { return g_installed ? *g_installed : QtHost(); }

void SetUi(UiHost* host) { g_installed = host; }

QString ToQtFileFilter(const QString& filter) {
    const QStringList parts = filter.split(u'|');
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString pattern = parts[i + 1];
        pattern.replace(QStringLiteral("*.*"), QStringLiteral("*"));
        pattern.replace(u';', u' ');
        entries << parts[i] + QStringLiteral(" (") + pattern + u')';
    }
    return entries.join(QStringLiteral(";;"));
}

}  // namespace platform
