#pragma once
// Failures the archiver detects itself. The message is the catalogue text of the native code,
// prefixed with "<component name>: " when a named component raised it, and followed by
// " - Native error: " and the native code in five digits.
#include <cstdint>
#include <initializer_list>
#include <stdexcept>

#include "ZAFormat.h"
#include "ZATypes.h"

class TZAComponent;

// Base of the failures that carry a UTF-16 message; what() gives the same text in UTF-8.
class EZAError : public std::runtime_error {
public:
    explicit EZAError(const ZAString& message)
        : std::runtime_error(Utf16ToUtf8(message)), FMessage(message) {}
    const ZAString& Message() const { return FMessage; }

private:
    ZAString FMessage;
};

class EZAException : public EZAError {
public:
    EZAException(int32_t NativeErr, const TZAComponent* Component = nullptr);
    EZAException(int32_t NativeErr, std::initializer_list<TZAFormatArg> Args,
                 const TZAComponent* Component = nullptr);
    // A refusal that the catalogue has no text for: Text (formatted with Args) stands in for
    // the catalogue message; ErrorCode and the message's tail follow NativeErr as usual.
    EZAException(int32_t NativeErr, const char16_t* Text,
                 std::initializer_list<TZAFormatArg> Args, const TZAComponent* Component);

    const int32_t ErrorCode;    // index into the message table, 0 to 40
    const int32_t NativeError;  // the code given where the error was raised
};

// An operation of archive writing, which this component does not carry out.
class EZANotSupported : public EZAError {
public:
    explicit EZANotSupported(const char16_t* operation);
};

// The composed message of an archiver error (what EZAException carries).
ZAString ComposeZAErrorMessage(int32_t NativeErr, std::initializer_list<TZAFormatArg> Args,
                               const TZAComponent* Component);
// The same with Text in place of the catalogue message.
ZAString ComposeZAErrorMessage(int32_t NativeErr, const char16_t* Text,
                               std::initializer_list<TZAFormatArg> Args,
                               const TZAComponent* Component);
