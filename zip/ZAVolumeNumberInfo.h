#pragma once
// Designation of one volume of a multi-volume set. Numbers count from 0; -1 means not set.
#include <algorithm>
#include <cstdint>
#include <limits>

#include "ZACheckedMath.h"
#include "ZAEnums.h"

class TZAVolumeNumberInfo {
public:
    TZAVolumeNumberInfo() { Init(); }

    // Kind vnkUnknown, both numbers -1.
    void Init();

    // True when the number is 0.
    bool FirstVolume() const { return FVolumeNumber == 0; }
    // Writing true designates volume 0 (kind vnkFirst); writing false changes nothing.
    void SetFirstVolume(bool Value);
    // With no last number: whether the kind is vnkLast; else whether the number is the last.
    bool LastVolume() const;
    // Writing true designates the last number (kind vnkLast); writing false changes nothing.
    void SetLastVolume(bool Value);

    int32_t VolumeNumber() const { return FVolumeNumber; }
    // Sets the number with the kind vnkCustom.
    void SetVolumeNumber(int32_t Value);
    int32_t LastVolumeNumber() const { return FLastVolumeNumber; }
    void SetLastVolumeNumber(int32_t Value) { FLastVolumeNumber = Value; }
    TZAVolumeNumberKind VolumeKind() const { return FVolumeKind; }
    // Whether a volume follows: false once the number has reached a known last number (or
    // the largest number there can be).
    bool HasNextVolume() const {
        return FVolumeNumber < std::numeric_limits<int32_t>::max() &&
               (FLastVolumeNumber < 0 || FVolumeNumber < FLastVolumeNumber);
    }

    // Whether VolumeInfo designates the same volume (see the rule in the .cpp).
    bool IsEqualTo(const TZAVolumeNumberInfo& VolumeInfo) const;
    // Copies the number and kind of Info, not its last number.
    void CopyDesignation(const TZAVolumeNumberInfo& Info);

private:
    TZAVolumeNumberKind FVolumeKind = vnkUnknown;
    int32_t FVolumeNumber = -1;
    int32_t FLastVolumeNumber = -1;
};
