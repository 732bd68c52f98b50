#include "ZipPrompts.h"

#include <QString>
#include <utility>

#include "BusyCursor.h"
#include "ErrorText.h"
#include "platform/ui_host.h"

namespace {

constexpr std::pair<TZAPromptButton, QMessageBox::StandardButton> kButtons[] = {
    {pbOK, QMessageBox::Ok},         {pbCancel, QMessageBox::Cancel},
    {pbYes, QMessageBox::Yes},       {pbNo, QMessageBox::No},
    {pbAbort, QMessageBox::Abort},   {pbRetry, QMessageBox::Retry},
    {pbIgnore, QMessageBox::Ignore}, {pbYesToAll, QMessageBox::YesToAll},
    {pbNoToAll, QMessageBox::NoToAll},
};

QMessageBox::StandardButton ToQt(TZAPromptButton button) {
    for (const auto& [za, qt] : kButtons) {
        if (za == button) return qt;
    }
    return QMessageBox::NoButton;
}

}  // namespace

TZAPromptButton TZipPrompts::Confirm(const ZAString& Text, const TZAPromptButtons& Buttons) {
    TArrowCursorWhileAsking asking;
    QMessageBox::StandardButtons shown;
    for (TZAPromptButton b : Buttons) shown |= ToQt(b);
    const QMessageBox::StandardButton answer = platform::Ui().messageBox(
        parent_, ApplicationTitle(), QString::fromStdU16String(Text), platform::MessageIcon::Question,
        shown, Buttons.empty() ? QMessageBox::NoButton : ToQt(Buttons.front()));
    for (const auto& [za, qt] : kButtons) {
        if (qt == answer && (shown & qt)) return za;
    }
    return ZACancelAnswer(Buttons);
}

bool TZipPrompts::AskPassword(const ZAString& Caption, const ZAString& Label, int MaxLength,
                              ZAString& Password) {
    TArrowCursorWhileAsking asking;
    const std::optional<QString> typed = platform::Ui().passwordDialog(
        parent_, QString::fromStdU16String(Caption), QString::fromStdU16String(Label), MaxLength);
    if (!typed) return false;
    Password = typed->toStdU16String();
    return true;
}
