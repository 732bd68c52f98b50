#include "zip/ZADirItem.h"

uint64_t TDirItem::EffectiveCompSize() const {
    return CentralDir.compSize == ZA_ZIP64_MARKER32 ? Zip64ExtInfo.compSize : CentralDir.compSize;
}

uint64_t TDirItem::EffectiveUnCompSize() const {
    return CentralDir.unCompSize == ZA_ZIP64_MARKER32 ? Zip64ExtInfo.uncompSize
                                                      : CentralDir.unCompSize;
}

uint64_t TDirItem::EffectiveRelOffsetLH() const {
    return CentralDir.relOffsetLH == ZA_ZIP64_MARKER32 ? Zip64ExtInfo.relOffsetLH
                                                       : CentralDir.relOffsetLH;
}

uint32_t TDirItem::EffectiveDiskNumberStart() const {
    return CentralDir.diskNumberStart == ZA_ZIP64_MARKER16 ? Zip64ExtInfo.diskNumberStart
                                                           : CentralDir.diskNumberStart;
}

void TDirItem::SetEffectiveRelOffsetLH(uint64_t Offset) {
    if (CentralDir.relOffsetLH != ZA_ZIP64_MARKER32 && Offset < ZA_ZIP64_MARKER32) {
        CentralDir.relOffsetLH = static_cast<uint32_t>(Offset);
    } else {
        CentralDir.relOffsetLH = ZA_ZIP64_MARKER32;
        Zip64ExtInfo.relOffsetLH = Offset;
    }
}
