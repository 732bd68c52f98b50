#pragma once
// The --password option of the command-line tools. A password given there is tried first;
// when it is missing or wrong the archiver asks through its password dialog (on a terminal:
// TTerminalPrompt), and an entry for which no working password comes is skipped.
#include <string>

#include "zip/ZATypes.h"

class TZABaseArchiver;

// Sets the archiver's Password from the option's value (UTF-8 on the command line), converted
// to the ANSI code page as the password dialog converts what is typed into it.
void ApplyPasswordOption(TZABaseArchiver& Archiver, const std::string& Utf8Password);
// The line a tool writes to standard error for an entry it skipped for want of a password.
std::string SkippedEntryMessage(const ZAString& EntryName);
