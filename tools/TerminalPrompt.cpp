#include "tools/TerminalPrompt.h"

#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <optional>
#include <string>

#include "zip/ZATypes.h"

namespace {

struct TButtonKey {
    TZAPromptButton Button;
    const char* Key;  // "" is the Enter key
    const char* Name;
};

// Cancel shares "n" with No; a box with both answers Cancel with "c".
constexpr TButtonKey kKeys[] = {
    {pbOK, "", "OK"},          {pbYes, "y", "Yes"},         {pbNo, "n", "No"},
    {pbYesToAll, "A", "Yes to all"}, {pbNoToAll, "N", "No to all"}, {pbAbort, "a", "Abort"},
    {pbRetry, "r", "Retry"},   {pbIgnore, "i", "Ignore"},   {pbCancel, "c", "Cancel"},
};

bool Has(const TZAPromptButtons& Buttons, TZAPromptButton B) {
    return std::find(Buttons.begin(), Buttons.end(), B) != Buttons.end();
}

std::string KeyOf(TZAPromptButton B, const TZAPromptButtons& Buttons) {
    if (B == pbCancel && !Has(Buttons, pbNo)) return "n";
    for (const TButtonKey& k : kKeys)
        if (k.Button == B) return k.Key;
    return "?";
}

const char* NameOf(TZAPromptButton B) {
    for (const TButtonKey& k : kKeys)
        if (k.Button == B) return k.Name;
    return "?";
}

// Turns the terminal's echo off for the lifetime of the object.
class TEchoOff {
public:
    explicit TEchoOff(int Fd) : FFd(Fd) {
        FActive = tcgetattr(FFd, &FSaved) == 0;
        if (!FActive) return;
        termios quiet = FSaved;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        quiet.c_lflag |= ECHONL;
        tcsetattr(FFd, TCSAFLUSH, &quiet);
    }
    ~TEchoOff() {
        if (FActive) tcsetattr(FFd, TCSAFLUSH, &FSaved);
    }
    TEchoOff(const TEchoOff&) = delete;
    TEchoOff& operator=(const TEchoOff&) = delete;

private:
    int FFd;
    termios FSaved{};
    bool FActive = false;
};

}  // namespace

TTerminalPrompt::TTerminalPrompt(FILE* In, FILE* Out)
    : FIn(In), FOut(Out), FInteractive(isatty(fileno(In)) != 0) {}

TTerminalPrompt::~TTerminalPrompt() {
    if (ZAPrompt() == this) SetZAPrompt(nullptr);
}

bool TTerminalPrompt::ReadLine(std::string& Line, bool Echo) {
    Line.clear();
    std::fflush(FOut);
    std::optional<TEchoOff> echoOff;
    if (!Echo) echoOff.emplace(fileno(FIn));
    for (int c; (c = std::fgetc(FIn)) != EOF;) {
        if (c == '\n') return true;
        Line.push_back(static_cast<char>(c));
    }
    return !Line.empty();
}

TZAPromptButton TTerminalPrompt::Confirm(const ZAString& Text, const TZAPromptButtons& Buttons) {
    const TZAPromptButton cancel = ZACancelAnswer(Buttons);
    if (!FInteractive) return cancel;
    std::string choices;
    for (TZAPromptButton b : Buttons) {
        if (!choices.empty()) choices += ", ";
        const std::string key = KeyOf(b, Buttons);
        choices += "[" + (key.empty() ? std::string("Enter") : key) + "] " + NameOf(b);
    }
    for (;;) {
        std::fprintf(FOut, "%s\n%s: ", Utf16ToUtf8(Text).c_str(), choices.c_str());
        std::string answer;
        if (!ReadLine(answer, true)) {
            std::fputc('\n', FOut);
            return cancel;
        }
        for (TZAPromptButton b : Buttons)
            if (KeyOf(b, Buttons) == answer) return b;
    }
}

bool TTerminalPrompt::AskPassword(const ZAString& Caption, const ZAString&, int MaxLength,
                                  ZAString& Password) {
    if (!FInteractive) return false;
    std::fprintf(FOut, "%s: ", Utf16ToUtf8(Caption).c_str());
    std::string answer;
    const bool read = ReadLine(answer, false);
    if (!read || answer.empty()) return false;
    ZAString typed = Utf8ToUtf16(answer);
    if (MaxLength > 0 && typed.size() > static_cast<size_t>(MaxLength)) typed.resize(MaxLength);
    Password = typed;
    return true;
}
