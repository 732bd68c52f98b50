#include "ZAOptions.h"

void TZAOptions::Assign(const TZAOptions& Source) {
    const TZAFileShareMode keptShareMode = FShareMode;
    *this = Source;
    FShareMode = keptShareMode;
}

void TZASpanningOptions::SetCustomVolumeSize(int64_t Value) {
    FCustomVolumeSize = Value < kMinCustomVolumeSize ? kMinCustomVolumeSize : Value;
}

int64_t TZASpanningOptions::GetVolumeSize(bool FirstVolume) const {
    if (FirstVolume && FFirstVolumeSize > 0) return FFirstVolumeSize;
    switch (FVolumeSize) {
        case vsAutoDetect: return -1;
        case vsCustom: return FCustomVolumeSize;
        case vs1_44MB: return 1457664;
        case vs100MB: return 104857600;
        case vs200MB: return 209715200;
        case vs250MB: return 262144000;
        case vs600MB: return 629145600;
        case vs650MB: return 681574400;
        case vs700MB: return 734003200;
        case vs4700MB: return 4928307200;
    }
    return -1;
}

void TZASpanningOptions::Assign(const TZASpanningOptions& Source) { *this = Source; }
