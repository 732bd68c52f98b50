#include "ZAPrompt.h"

#include <algorithm>

namespace {
TZAPrompt* gPrompt = nullptr;
}

void SetZAPrompt(TZAPrompt* Prompt) { gPrompt = Prompt; }
TZAPrompt* ZAPrompt() { return gPrompt; }

TZAPromptButton ZACancelAnswer(const TZAPromptButtons& Buttons) {
    for (TZAPromptButton b : {pbCancel, pbAbort, pbNo})
        if (std::find(Buttons.begin(), Buttons.end(), b) != Buttons.end()) return b;
    return pbCancel;
}

TZAPromptButton ZAConfirm(const ZAString& Text, const TZAPromptButtons& Buttons) {
    if (!gPrompt) return ZACancelAnswer(Buttons);
    return gPrompt->Confirm(Text, Buttons);
}

bool ZAAskPassword(const ZAString& Caption, const ZAString& Label, int MaxLength,
                   ZAString& Password) {
    if (!gPrompt) return false;
    return gPrompt->AskPassword(Caption, Label, MaxLength, Password);
}
