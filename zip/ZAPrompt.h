#pragma once
// The prompts of the archiver: its confirmation message boxes and its password dialog. The
// application installs an implementation (its own windows); without one, every prompt
// answers as a user who cancels: Cancel where the box has it, else Abort, else No.
#include <cstdint>
#include <vector>

#include "ZATypes.h"

enum TZAPromptButton : uint8_t {
    pbOK, pbCancel, pbYes, pbNo, pbAbort, pbRetry, pbIgnore, pbYesToAll, pbNoToAll
};
using TZAPromptButtons = std::vector<TZAPromptButton>;

class TZAPrompt {
public:
    virtual ~TZAPrompt() = default;
    // A confirmation box with a question icon, the text and the buttons in the order given.
    // Returns the button chosen; closing the box answers ZACancelAnswer(Buttons).
    virtual TZAPromptButton Confirm(const ZAString& Text, const TZAPromptButtons& Buttons) = 0;
    // The modal password dialog, centred on the screen: the caption, the label in front of
    // an edit field of at most MaxLength characters that echoes every character as "*"
    // (initially empty), an "OK" default button and a "Cancel" button. Returns true with
    // Password set when OK is chosen, false for Cancel or a closed dialog.
    virtual bool AskPassword(const ZAString& Caption, const ZAString& Label, int MaxLength,
                             ZAString& Password) = 0;
};

// Installs the application's prompts (nullptr: none). The caller keeps ownership.
void SetZAPrompt(TZAPrompt* Prompt);
TZAPrompt* ZAPrompt();

// The answer of a user who cancels a box with these buttons.
TZAPromptButton ZACancelAnswer(const TZAPromptButtons& Buttons);

// Asks through the installed prompts, or answers as a user who cancels.
TZAPromptButton ZAConfirm(const ZAString& Text, const TZAPromptButtons& Buttons);
bool ZAAskPassword(const ZAString& Caption, const ZAString& Label, int MaxLength,
                   ZAString& Password);
