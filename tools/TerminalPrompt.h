#pragma once
// The archiver's boxes and password dialog on the terminal, for kalvero-zip and
// kalvero-stats. Questions go to standard error and answers come from standard input; when
// standard input is not a terminal nothing is asked and every prompt answers as a user who
// cancels, so a script never waits for input that cannot come.
#include <cstdio>
#include <string>

#include "zip/ZAPrompt.h"

class TTerminalPrompt : public TZAPrompt {
public:
    // In and Out default to standard input and standard error; tests pass their own.
    TTerminalPrompt(FILE* In = stdin, FILE* Out = stderr);

    // Installs this prompt for the archiver while the object lives.
    void Install() { SetZAPrompt(this); }
    ~TTerminalPrompt() override;

    // The box's text, then one line of the keys that answer it, e.g. "[Enter] OK, [n] Cancel".
    // Keys: Enter for OK, y Yes, n No (or Cancel when the box has no No), c Cancel, A Yes to
    // all, N No to all, a Abort, r Retry, i Ignore. Another answer asks again; end of input
    // answers as a user who cancels.
    TZAPromptButton Confirm(const ZAString& Text, const TZAPromptButtons& Buttons) override;
    // "CAPTION: " without echo; an empty answer or end of input is Cancel.
    bool AskPassword(const ZAString& Caption, const ZAString& Label, int MaxLength,
                     ZAString& Password) override;

    // Whether answers can be read: standard input (or In) is a terminal. Tests may force it.
    bool Interactive() const { return FInteractive; }
    void SetInteractive(bool Value) { FInteractive = Value; }

private:
    bool ReadLine(std::string& Line, bool Echo);

    FILE* FIn;
    FILE* FOut;
    bool FInteractive;
};
