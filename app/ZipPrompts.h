#pragma once
// The archiver's built-in boxes and password dialog, shown with the application's windows.
#include "zip/ZAPrompt.h"

class QWidget;

class TZipPrompts : public TZAPrompt {
public:
    explicit TZipPrompts(QWidget* parent = nullptr) : parent_(parent) {}

    TZAPromptButton Confirm(const ZAString& Text, const TZAPromptButtons& Buttons) override;
    bool AskPassword(const ZAString& Caption, const ZAString& Label, int MaxLength,
                     ZAString& Password) override;

private:
    QWidget* parent_;
};
