#pragma once
// Prompts for tests: records what the archiver asks and gives scripted answers. Installed for
// the lifetime of the object.
#include <vector>

#include "zip/ZAPrompt.h"

class RecordingPrompt : public TZAPrompt {
public:
    RecordingPrompt() { SetZAPrompt(this); }
    ~RecordingPrompt() override { SetZAPrompt(nullptr); }

    TZAPromptButton Confirm(const ZAString& Text, const TZAPromptButtons& Buttons) override {
        texts.push_back(Text);
        buttons.push_back(Buttons);
        return answer;
    }
    bool AskPassword(const ZAString& Caption, const ZAString& Label, int MaxLength,
                     ZAString& Password) override {
        captions.push_back(Caption);
        labels.push_back(Label);
        maxLength = MaxLength;
        if (passwordOk) Password = password;
        return passwordOk;
    }

    TZAPromptButton answer = pbOK;
    bool passwordOk = true;
    ZAString password;
    std::vector<ZAString> texts;
    std::vector<TZAPromptButtons> buttons;
    std::vector<ZAString> captions;
    std::vector<ZAString> labels;
    int maxLength = 0;
};
