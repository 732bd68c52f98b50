#include "ZAExcept.h"

#include "ZAComponent.h"
#include "ZAConst.h"

ZAString ComposeZAErrorMessage(int32_t NativeErr, std::initializer_list<TZAFormatArg> Args,
                               const TZAComponent* Component) {
    return ComposeZAErrorMessage(NativeErr, ZAMessageText(ZAErrorCodeOf(NativeErr)), Args,
                                 Component);
}

ZAString ComposeZAErrorMessage(int32_t NativeErr, const char16_t* Text,
                               std::initializer_list<TZAFormatArg> Args,
                               const TZAComponent* Component) {
    ZAString text = ZAFormat(Text, Args);
    if (Component && !Component->Name().empty())
        text = ZAFormat(u"%s: %s", {Component->Name(), text});
    // "%5d" with every blank turned into "0".
    ZAString code = ZAFormat(u"%5d", {NativeErr});
    for (auto& c : code)
        if (c == u' ') c = u'0';
    return text + u" - Native error: " + code;
}

EZAException::EZAException(int32_t NativeErr, const TZAComponent* Component)
    : EZAException(NativeErr, {}, Component) {}

EZAException::EZAException(int32_t NativeErr, std::initializer_list<TZAFormatArg> Args,
                           const TZAComponent* Component)
    : EZAError(ComposeZAErrorMessage(NativeErr, Args, Component)),
      ErrorCode(ZAErrorCodeOf(NativeErr)),
      NativeError(NativeErr) {}

EZAException::EZAException(int32_t NativeErr, const char16_t* Text,
                           std::initializer_list<TZAFormatArg> Args,
                           const TZAComponent* Component)
    : EZAError(ComposeZAErrorMessage(NativeErr, Text, Args, Component)),
      ErrorCode(ZAErrorCodeOf(NativeErr)),
      NativeError(NativeErr) {}

EZANotSupported::EZANotSupported(const char16_t* operation)
    : EZAError(ZAString(operation) +
               u" is not supported by this archiver") {}
