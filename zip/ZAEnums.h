#pragma once
// Enumerations of the archiver's interface; ordinal values from 0, each stored in 8 bits.
#include <cstdint>

enum TZACompressionLevel : uint8_t { clNone, clFastest, clNormal, clMax };
enum TZACompressionAlgorithm : uint8_t { caZLIB, caBZIP, caPPM };
enum TZACryptoAlgorithm : uint8_t { caPkzipClassic, caAES_128, caAES_192, caAES_256 };
enum TZAProcessOperation : uint8_t {
    poAdd, poMove, poDelete, poUpdate, poExtract, poTest, poRename, poChangeAttr,
    poChangeComment, poMakeSFX, poMerge
};
enum TZAProgressPhase : uint8_t { ppStart, ppProcess, ppEnd };
enum TZAAction : uint8_t { fxaRetry, fxaIgnore, fxaAbort };
enum TZAOverwriteMode : uint8_t { omPrompt, omAlways, omNever, omIfNewer, omIfOlder };
enum TZAFileShareMode : uint8_t {
    smShareCompat, smShareExclusive, smShareDenyWrite, smShareDenyRead, smShareDenyNone
};
enum TZAStorePathMode : uint8_t { spNoPath, spRelativePath, spFullPath, spFullPathWithDrive };
enum TZip64Mode : uint8_t { zmDisabled, zmAuto, zmAlways };
enum TZASpanningMode : uint8_t { smNone, smSpanning, smSplitting };
enum TZAVolumeSize : uint8_t {
    vsAutoDetect, vsCustom, vs1_44MB, vs100MB, vs200MB, vs250MB, vs600MB, vs650MB, vs700MB,
    vs4700MB
};
enum TZAVolumeNumberKind : uint8_t { vnkFirst, vnkLast, vnkCustom, vnkUnknown };
enum class TCryptoTransformMode : uint8_t { Encryption, Decryption };
