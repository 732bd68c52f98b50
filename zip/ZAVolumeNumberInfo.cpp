#include "ZAVolumeNumberInfo.h"

void TZAVolumeNumberInfo::Init() {
    FVolumeKind = vnkUnknown;
    FVolumeNumber = -1;
    FLastVolumeNumber = -1;
}

void TZAVolumeNumberInfo::SetFirstVolume(bool Value) {
    if (!Value) return;
    FVolumeNumber = 0;
    FVolumeKind = vnkFirst;
}

bool TZAVolumeNumberInfo::LastVolume() const {
    if (FLastVolumeNumber == -1) return FVolumeKind == vnkLast;
    return FVolumeNumber == FLastVolumeNumber;
}

void TZAVolumeNumberInfo::SetLastVolume(bool Value) {
    if (!Value) return;
    FVolumeNumber = FLastVolumeNumber;
    FVolumeKind = vnkLast;
}

void TZAVolumeNumberInfo::SetVolumeNumber(int32_t Value) {
    FVolumeNumber = Value;
    FVolumeKind = vnkCustom;
}

// The last volume matches only the last, the first only the first; an undesignated number
// compares kinds, any other compares numbers.
bool TZAVolumeNumberInfo::IsEqualTo(const TZAVolumeNumberInfo& VolumeInfo) const {
    if (LastVolume()) return VolumeInfo.LastVolume();
    if (FirstVolume()) return VolumeInfo.FirstVolume();
    if (FVolumeNumber < 0) return FVolumeKind == VolumeInfo.FVolumeKind;
    return FVolumeNumber == VolumeInfo.FVolumeNumber;
}

void TZAVolumeNumberInfo::CopyDesignation(const TZAVolumeNumberInfo& Info) {
    FVolumeNumber = Info.FVolumeNumber;
    FVolumeKind = Info.FVolumeKind;
}
