#pragma once
// The password dialog, built at run time and laid out in dialog units of its font.
#include <QString>
#include <optional>

class QWidget;

namespace platform {

// Shows the dialog modally, centred on the screen; the typed text, or no value when the user
// cancels or closes it.
std::optional<QString> RunPasswordDialog(QWidget* parent, const QString& caption,
                                         const QString& label, int maxLength);

}  // namespace platform
