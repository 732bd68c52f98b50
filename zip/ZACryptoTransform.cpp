#include "ZACryptoTransform.h"

void TZACryptoTransform::Initialize(TCryptoTransformMode Mode, const TDirItem&) {
    FTransformMode = Mode;
}
