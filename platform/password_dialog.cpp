#include "password_dialog.h"

#include <QDialog>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

namespace platform {
namespace {

// Dialog units: a horizontal unit is a quarter of the average width of the letters A-Z and
// a-z, a vertical unit an eighth of the line height.
struct DialogUnits {
    explicit DialogUnits(const QFont& font) {
        const QFontMetrics m(font);
        const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
        baseX = m.horizontalAdvance(letters) / 52.0;
        baseY = m.height();
    }
    int X(int units) const { return static_cast<int>(units * baseX / 4.0 + 0.5); }
    int Y(int units) const { return static_cast<int>(units * baseY / 8.0 + 0.5); }
    double baseX;
    double baseY;
};

}  // namespace

std::optional<QString> RunPasswordDialog(QWidget* parent, const QString& caption,
                                         const QString& label, int maxLength) {
    QDialog dialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                               Qt::MSWindowsFixedSizeDialogHint);
    dialog.setWindowTitle(caption);
    const DialogUnits du(dialog.font());
    dialog.setFixedSize(du.X(180), du.Y(63));

    auto* prompt = new QLabel(label, &dialog);
    prompt->move(du.X(8), du.Y(8));
    auto* edit = new QLineEdit(&dialog);
    edit->setGeometry(du.X(8), du.Y(19), du.X(164), edit->sizeHint().height());
    edit->setMaxLength(maxLength);
    edit->setEchoMode(QLineEdit::Password);
    auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
    ok->setGeometry(du.X(38), du.Y(41), du.X(50), du.Y(14));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), &dialog);
    cancel->setGeometry(du.X(92), du.Y(41), du.X(50), du.Y(14));
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        dialog.move(screen->availableGeometry().center() - dialog.rect().center());
    }
    edit->setFocus();
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return edit->text();
}

}  // namespace platform
