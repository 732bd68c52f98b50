#pragma once
// The archiver's error catalogue: the message texts, indexed by ErrorCode, and the table that
// maps the native code given where an error is raised to its message.
#include <array>
#include <cstdint>

constexpr int32_t ZAMessageCount = 41;

// Native codes by name, for the errors raised where an entry is read or written.
enum TZANativeError : int32_t {
    neEntryFailed = 8,        // an entry failed its tests, or is damaged
    neEntryNotFound = 15,     // no entry of the name asked for
    neFileCreateFailed = 19,  // the target file cannot be created
    neFolderCreateFailed = 20,  // the target file's folder cannot be created
    neDiskFull = 65,          // the output took fewer bytes than were written to it
};

// Texts of the entry refusals that the catalogue has no message for; they are raised with
// the native code given beside them and formatted with the entry's name.
constexpr const char16_t* ZAUnsafeNameText =  // neFileCreateFailed
    u"Refused to extract \"%s\": the name leads outside the target folder";
constexpr const char16_t* ZAOverlapText =  // neEntryFailed
    u"Refused \"%s\": invalid zip file with overlapped components (possible zip bomb)";
constexpr int32_t ZANativeErrorCount = 68;

struct TZANativeErrorPair {
    int32_t NativeError;
    int32_t ErrorCode;
};

extern const std::array<const char16_t*, ZAMessageCount> ZAMessages;
extern const std::array<TZANativeErrorPair, ZANativeErrorCount> ZANativeErrors;

// ErrorCode of a native code: the message index of the first pair with that code, 0 (the
// "Unknown error" text) for a code in no pair.
int32_t ZAErrorCodeOf(int32_t nativeError);
// The message with index errorCode; "Unknown error" outside the table.
const char16_t* ZAMessageText(int32_t errorCode);
