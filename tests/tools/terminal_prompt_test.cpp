// The archiver's prompts answered on a terminal: which key gives which button, and that
// nothing waits when no answer can come.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "tools/TerminalPrompt.h"

namespace {

// A prompt reading the given input; its questions are collected in Out().
class ScriptedTerminal {
public:
    explicit ScriptedTerminal(const std::string& input, bool interactive = true) {
        input_ = input.empty() ? std::string(1, '\0') : input;
        in_ = fmemopen(input_.data(), input.size(), "r");
        out_ = open_memstream(&outBuf_, &outSize_);
        prompt_ = std::make_unique<TTerminalPrompt>(in_, out_);
        prompt_->SetInteractive(interactive);
    }
    ~ScriptedTerminal() {
        prompt_.reset();
        std::fclose(in_);
        std::fclose(out_);
        std::free(outBuf_);
    }
    TTerminalPrompt& Prompt() { return *prompt_; }
    std::string Out() {
        std::fflush(out_);
        return std::string(outBuf_, outSize_);
    }

private:
    std::string input_;  // fmemopen needs a buffer of at least one byte
    FILE* in_ = nullptr;
    FILE* out_ = nullptr;
    char* outBuf_ = nullptr;
    size_t outSize_ = 0;
    std::unique_ptr<TTerminalPrompt> prompt_;
};

const TZAPromptButtons kOkCancel{pbOK, pbCancel};
const TZAPromptButtons kOverwrite{pbYes, pbNo, pbNoToAll, pbYesToAll};
const TZAPromptButtons kFailure{pbAbort, pbRetry, pbIgnore};
const TZAPromptButtons kYesNoCancel{pbYes, pbNo, pbCancel};

struct KeyCase {
    const char* input;
    TZAPromptButtons buttons;
    TZAPromptButton expected;
};

TEST(TerminalPrompt, KeysAnswerTheirButtons) {
    const KeyCase cases[] = {
        {"\n", kOkCancel, pbOK},
        {"n\n", kOkCancel, pbCancel},
        {"y\n", kOverwrite, pbYes},
        {"n\n", kOverwrite, pbNo},
        {"A\n", kOverwrite, pbYesToAll},
        {"N\n", kOverwrite, pbNoToAll},
        {"a\n", kFailure, pbAbort},
        {"r\n", kFailure, pbRetry},
        {"i\n", kFailure, pbIgnore},
        {"n\n", kYesNoCancel, pbNo},
        {"c\n", kYesNoCancel, pbCancel},
        // An answer the box does not take asks again.
        {"x\n\ny\n", kOverwrite, pbYes},
        // End of input answers as a user who cancels.
        {"", kOkCancel, pbCancel},
        {"x\n", kOverwrite, pbNo},
        {"", kFailure, pbAbort},
    };
    for (const KeyCase& c : cases) {
        ScriptedTerminal t(c.input);
        EXPECT_EQ(t.Prompt().Confirm(u"Question?", c.buttons), c.expected)
            << "input " << c.input;
    }
}

TEST(TerminalPrompt, ShowsTheTextAndTheKeys) {
    ScriptedTerminal t("\n");
    t.Prompt().Confirm(u"Insert disk 2", kOkCancel);
    EXPECT_EQ(t.Out(), "Insert disk 2\n[Enter] OK, [n] Cancel: ");
}

TEST(TerminalPrompt, WithoutATerminalNothingIsAsked) {
    ScriptedTerminal t("y\n", false);
    EXPECT_EQ(t.Prompt().Confirm(u"Overwrite?", kOverwrite), pbNo);
    EXPECT_EQ(t.Prompt().Confirm(u"Insert disk", kOkCancel), pbCancel);
    ZAString password = u"old";
    EXPECT_FALSE(t.Prompt().AskPassword(u"Password for \"a.txt\"", u"", 255, password));
    EXPECT_EQ(password, u"old");
    EXPECT_EQ(t.Out(), "");
}

TEST(TerminalPrompt, PasswordAskedByTheEntryName) {
    ScriptedTerminal t("geheim\n");
    ZAString password;
    ASSERT_TRUE(t.Prompt().AskPassword(u"Password for \"a.txt\"", u"Enter password: ", 255,
                                       password));
    EXPECT_EQ(password, u"geheim");
    EXPECT_EQ(t.Out(), "Password for \"a.txt\": ");
}

TEST(TerminalPrompt, EmptyPasswordOrEndOfInputCancels) {
    for (const char* input : {"\n", ""}) {
        ScriptedTerminal t(input);
        ZAString password = u"old";
        EXPECT_FALSE(t.Prompt().AskPassword(u"Password for \"a\"", u"", 255, password));
        EXPECT_EQ(password, u"old");
    }
}

TEST(TerminalPrompt, InstalledWhileItLives) {
    {
        ScriptedTerminal t("\n");
        t.Prompt().Install();
        EXPECT_EQ(ZAPrompt(), &t.Prompt());
    }
    EXPECT_EQ(ZAPrompt(), nullptr);
}

}  // namespace
