#include "ZAClassicCrypt.h"

#include <zlib.h>

#include "ZARecords.h"
#include "ZAStream.h"

namespace {

// One step of the CRC-32 register without the pre- and post-inversion, on zlib's table: the
// key update of the scheme is defined on this step.
inline uint32_t CrcStep(const z_crc_t* Table, uint32_t Crc, uint8_t Byte) {
    return static_cast<uint32_t>(Table[(Crc ^ Byte) & 0xFF]) ^ (Crc >> 8);
}

inline void UpdateKeys(const z_crc_t* Table, TZAClassicKeys& Keys, uint8_t Plain) {
    Keys.Key0 = CrcStep(Table, Keys.Key0, Plain);
    Keys.Key1 = (Keys.Key1 + (Keys.Key0 & 0xFF)) * 134775813u + 1u;
    Keys.Key2 = CrcStep(Table, Keys.Key2, static_cast<uint8_t>(Keys.Key1 >> 24));
}

inline uint8_t KeyStreamByte(const TZAClassicKeys& Keys) {
    const uint32_t temp = (Keys.Key2 | 2u) & 0xFFFFu;
    return static_cast<uint8_t>((temp * (temp ^ 1u)) >> 8);
}

}  // namespace

void InitClassicKeys(const ZAAnsiString& Password, TZAClassicKeys& Keys) {
    const z_crc_t* table = get_crc_table();
    Keys = {0x12345678u, 0x23456789u, 0x34567890u};
    for (char c : Password) UpdateKeys(table, Keys, static_cast<uint8_t>(c));
}

void DecryptClassicBuffer(uint8_t* Buffer, int64_t Count, TZAClassicKeys& Keys) {
    const z_crc_t* table = get_crc_table();
    TZAClassicKeys k = Keys;  // kept in registers for the loop
    for (int64_t i = 0; i < Count; ++i) {
        const auto plain = static_cast<uint8_t>(Buffer[i] ^ KeyStreamByte(k));
        Buffer[i] = plain;
        UpdateKeys(table, k, plain);
    }
    Keys = k;
}

bool CheckClassicHeader(TZAStream& Stream, const ZAAnsiString& Password, TZAClassicKeys& Keys,
                        uint32_t Crc32, uint16_t ModTime, uint16_t Flags) {
    uint8_t header[ZA_CLASSIC_HEADER_SIZE];
    Stream.ReadBuffer(header, sizeof header);
    InitClassicKeys(Password, Keys);
    DecryptClassicBuffer(header, sizeof header, Keys);
    const auto check = (Flags & ZA_FLAG_DATA_DESCRIPTOR) != 0 ? static_cast<uint8_t>(ModTime >> 8)
                                                             : static_cast<uint8_t>(Crc32 >> 24);
    return header[ZA_CLASSIC_HEADER_SIZE - 1] == check;
}
