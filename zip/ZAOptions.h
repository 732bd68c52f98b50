#pragma once
// The archiver's option groups, created and owned by the archiver.
#include <cstdint>

#include "ZAEnums.h"

class TZAOptions {
public:
    TZAStorePathMode StorePath() const { return FStorePath; }
    void SetStorePath(TZAStorePathMode Value) { FStorePath = Value; }
    bool Recurse() const { return FRecurse; }
    void SetRecurse(bool Value) { FRecurse = Value; }
    TZAFileShareMode ShareMode() const { return FShareMode; }
    void SetShareMode(TZAFileShareMode Value) { FShareMode = Value; }
    TZAOverwriteMode OverwriteMode() const { return FOverwriteMode; }
    void SetOverwriteMode(TZAOverwriteMode Value) { FOverwriteMode = Value; }
    bool CreateDirs() const { return FCreateDirs; }
    void SetCreateDirs(bool Value) { FCreateDirs = Value; }
    bool ReplaceReadOnly() const { return FReplaceReadOnly; }
    void SetReplaceReadOnly(bool Value) { FReplaceReadOnly = Value; }
    bool SetAttributes() const { return FSetAttributes; }
    void SetSetAttributes(bool Value) { FSetAttributes = Value; }
    int32_t SearchAttr() const { return FSearchAttr; }
    void SetSearchAttr(int32_t Value) { FSearchAttr = Value; }
    bool FlushBuffers() const { return FFlushBuffers; }
    void SetFlushBuffers(bool Value) { FFlushBuffers = Value; }
    bool OEMFileNames() const { return FOEMFileNames; }
    void SetOEMFileNames(bool Value) { FOEMFileNames = Value; }

    // Copies every option except ShareMode.
    void Assign(const TZAOptions& Source);

private:
    TZAStorePathMode FStorePath = spRelativePath;
    bool FRecurse = true;
    TZAFileShareMode FShareMode = smShareDenyNone;
    TZAOverwriteMode FOverwriteMode = omAlways;
    bool FCreateDirs = true;
    bool FReplaceReadOnly = true;
    bool FSetAttributes = true;
    int32_t FSearchAttr = 10431;  // 0x28BF: every attribute a file of an archive can carry
    bool FFlushBuffers = true;
    bool FOEMFileNames = true;
};

class TZASpanningOptions {
public:
    static constexpr int64_t kMinCustomVolumeSize = 65536;

    bool AdvancedNaming() const { return FAdvancedNaming; }
    void SetAdvancedNaming(bool Value) { FAdvancedNaming = Value; }
    int64_t FirstVolumeSize() const { return FFirstVolumeSize; }
    void SetFirstVolumeSize(int64_t Value) { FFirstVolumeSize = Value; }
    TZAVolumeSize VolumeSize() const { return FVolumeSize; }
    void SetVolumeSize(TZAVolumeSize Value) { FVolumeSize = Value; }
    int64_t CustomVolumeSize() const { return FCustomVolumeSize; }
    // Values below 65536 store 65536.
    void SetCustomVolumeSize(int64_t Value);

    // Bytes of a volume: the first volume's own size when set, else by VolumeSize; -1 for
    // vsAutoDetect (no fixed size).
    int64_t GetVolumeSize(bool FirstVolume) const;

    // Copies all five fields.
    void Assign(const TZASpanningOptions& Source);

    bool FSaveDirToFirstVolume = false;

private:
    bool FAdvancedNaming = false;
    int64_t FFirstVolumeSize = 0;
    TZAVolumeSize FVolumeSize = vsAutoDetect;
    int64_t FCustomVolumeSize = 0;
};
