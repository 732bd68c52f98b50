#pragma once
// How the raw name bytes of an entry become its text name.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "zip/ZATypes.h"

// True when the bytes are well-formed UTF-8 and at least one of them is 0x80 or above. The
// surrogate range is not excluded (E1 to EF may be followed by any two continuation bytes).
bool IsUtf8Name(std::string_view bytes);

// UTF-8 when IsUtf8Name holds, otherwise ANSI (code page 1252).
ZAString DecodeRawName(std::string_view bytes);

// The name of a central directory header: with OEMFileNames and without the UTF-8 flag the
// bytes are first converted from OEM (850) to ANSI (1252) up to the first zero byte; then
// DecodeRawName. Writers on Unix and macOS (host 3 or 19 in the high byte of VersionMadeBy)
// store UTF-8 without setting the flag: their names, when well-formed UTF-8 as stored, are
// decoded as UTF-8 without the OEM step.
ZAString DecodeCentralDirName(std::string bytes, bool OEMFileNames, uint16_t genPurposeFlag,
                              uint16_t VersionMadeBy = 0);

// The name in an Info-ZIP Unicode Path extra block (0x7075): version 1, the CRC-32 of the
// stored name bytes, then the name in UTF-8. False (Name unchanged) when the version is
// another, the CRC-32 does not match RawName, or the name is not well-formed UTF-8.
bool DecodeUnicodePathBlock(std::span<const uint8_t> Data, std::string_view RawName,
                            ZAString& Name);

// The name of a local header when the directory is rebuilt from them: the same OEM step, then
// ANSI only, up to the first zero byte.
ZAString DecodeLocalHeaderName(std::string bytes, bool OEMFileNames, uint16_t genPurposeFlag);
