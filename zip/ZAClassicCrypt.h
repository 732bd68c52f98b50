#pragma once
// The traditional ZIP encryption: a state of three 32-bit keys that every plain byte updates,
// and a 12-byte header in front of the entry's data whose last byte checks the password.
#include <cstdint>

#include "ZATypes.h"

class TZAStream;

struct TZAClassicKeys {
    uint32_t Key0 = 0;
    uint32_t Key1 = 0;
    uint32_t Key2 = 0;
};

// Bytes of the encryption header in front of the entry's data.
constexpr int64_t ZA_CLASSIC_HEADER_SIZE = 12;

// The initial keys, then updated with each byte of the password in order.
void InitClassicKeys(const ZAAnsiString& Password, TZAClassicKeys& Keys);
// Reads exactly 12 bytes from Stream (a short read raises the stream's read error), starts the
// keys from Password and decrypts them. True when the last header byte equals the check byte:
// the high byte of ModTime when Flags has the data-descriptor bit, else the high byte of Crc32.
// Keys then stand at the first byte of the entry's data.
bool CheckClassicHeader(TZAStream& Stream, const ZAAnsiString& Password, TZAClassicKeys& Keys,
                        uint32_t Crc32, uint16_t ModTime, uint16_t Flags);
// Decrypts Count bytes in place, going on from the key state Keys.
void DecryptClassicBuffer(uint8_t* Buffer, int64_t Count, TZAClassicKeys& Keys);
