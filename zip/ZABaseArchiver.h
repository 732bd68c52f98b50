#pragma once
// The archiver component: reads ZIP archives. The operations that create or change archives
// are part of its interface but are not carried out here; they raise EZANotSupported.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ZAArchiveItem.h"
#include "ZAComponent.h"
#include "ZAEnums.h"
#include "ZAEvents.h"
#include "ZAOptions.h"
#include "ZAStream.h"
#include "ZATypes.h"
#include "ZAVolumeNumberInfo.h"

class TZADirManager;
class TZAEntryExtraction;
struct TDirItem;

using TZAStringList = std::vector<ZAString>;

class TZABaseArchiver : public TZAComponent {
    friend class TZADirManager;
    friend class TZAEntryExtraction;

public:
    // The file mode words used for the archive file.
    static constexpr uint16_t fmCreate = 0xFF00;
    static constexpr uint16_t fmReadWriteDenyWrite = 0x22;
    static constexpr uint16_t fmReadOnlyDenyNone = 0x40;

    explicit TZABaseArchiver(TZAComponent* AOwner = nullptr);
    ~TZABaseArchiver() override;

    // ---- published properties ---------------------------------------------------------
    bool ExtractCorruptedFiles() const { return FExtractCorruptedFiles; }
    void SetExtractCorruptedFiles(bool Value) { FExtractCorruptedFiles = Value; }
    TZACompressionLevel CompressionLevel() const { return FCompressionLevel; }
    void SetCompressionLevel(TZACompressionLevel Value);
    uint8_t CompressionMode() const { return FCompressionMode; }
    // Values above 9 raise NativeError 5.
    void SetCompressionMode(uint8_t Value);
    // Always "6.50 "; writing changes nothing.
    ZAString CurrentVersion() const;
    void SetCurrentVersion(const ZAString& Value);
    const ZAAnsiString& Password() const { return FPassword; }
    virtual void SetPassword(const ZAAnsiString& Value);
    const ZAString& FileName() const { return FFileName; }
    void SetFileName(const ZAString& Value) { FFileName = Value; }
    const ZAString& BaseDir() const { return FBaseDir; }
    void SetBaseDir(const ZAString& Value) { FBaseDir = Value; }
    const ZAString& TempDir() const { return FTempDir; }
    void SetTempDir(const ZAString& Value) { FTempDir = Value; }
    TZASpanningMode SpanningMode() const { return FSpanningMode; }
    // On an open archive: throws a plain EZAError "Cannot set spanning mode on open archive".
    void SetSpanningMode(TZASpanningMode Value);
    TZASpanningOptions& SpanningOptions() { return FSpanningOptions; }
    const TZASpanningOptions& SpanningOptions() const { return FSpanningOptions; }
    void SetSpanningOptions(const TZASpanningOptions& Value) { FSpanningOptions.Assign(Value); }
    const ZAString& SFXStub() const { return FSFXStub; }
    void SetSFXStub(const ZAString& Value) { FSFXStub = Value; }
    TZAOptions& Options() { return FOptions; }
    const TZAOptions& Options() const { return FOptions; }
    void SetOptions(const TZAOptions& Value) { FOptions.Assign(Value); }
    const TZAStringList& FileMasks() const { return FFileMasks; }
    void SetFileMasks(const TZAStringList& Value) { FFileMasks = Value; }
    const TZAStringList& ExclusionMasks() const { return FExclusionMasks; }
    void SetExclusionMasks(const TZAStringList& Value) { FExclusionMasks = Value; }
    const TZAStringList& NoCompressionMasks() const { return FNoCompressionMasks; }
    void SetNoCompressionMasks(const TZAStringList& Value) { FNoCompressionMasks = Value; }
    bool InMemory() const { return FInMemory; }
    // Memory archives are archive writing: switching on raises EZANotSupported; switching
    // off with an empty FileName raises NativeError 29.
    void SetInMemory(bool Value);
    // Published by TZipArchiver (default zmDisabled there); the base default is zmAuto.
    TZip64Mode Zip64Mode() const { return FZip64Mode; }
    void SetZip64Mode(TZip64Mode Value) { FZip64Mode = Value; }

    // ---- events (published) -------------------------------------------------------------
    TZAFileProgressEvent OnFileProgress;
    TZAOverallProgressEvent OnOverallProgress;
    TZACopyTempFileProgressEvent OnCopyTempFileProgress;
    TZAConfirmOverwriteEvent OnConfirmOverwrite;
    TZAConfirmProcessFileEvent OnConfirmProcessFile;
    TZANotifyEvent AfterOpen;
    TZAPasswordEvent OnPassword;
    TZAProcessFileFailureEvent OnProcessFileFailure;
    TZARequestBlankVolumeEvent OnRequestBlankVolume;
    TZARequestFirstVolumeEvent OnRequestFirstVolume;
    TZARequestLastVolumeEvent OnRequestLastVolume;
    TZARequestMiddleVolumeEvent OnRequestMiddleVolume;
    TZADiskFullEvent OnDiskFull;
    TZAStoreFileEvent OnStoreFile;
    TZAExtractFileEvent OnExtractFile;
    // No published property; raised when a volume fails.
    TZAProcessVolumeFailureEvent FOnProcessVolumeFailure;

    // ---- public properties --------------------------------------------------------------
    const TZAVolumeNumberInfo& VolumeNumberInfo() const { return FVolumeNumberInfo; }
    // Size of the archive stream; NativeError 13 when no archive is open.
    int64_t Size() const;
    // Entries that are not folders; NativeError 13 when no archive is open.
    int32_t FileCount();
    // Whether a file named FileName exists.
    bool Exists() const;
    bool InUpdate() const { return FUpdateCount > 0; }
    bool Active() const { return FActive; }
    void SetActive(bool Value);
    // The archive comment as stored; empty when no archive is open.
    ZAAnsiString Comment() const;
    void SetComment(const ZAAnsiString& Value);
    bool OpenCorruptedArchives() const { return FOpenCorruptedArchives; }
    void SetOpenCorruptedArchives(bool Value) { FOpenCorruptedArchives = Value; }

    // The directory manager of the open archive (nullptr when closed) and its stream.
    TZADirManager* DirManager() const { return DMHandle.get(); }
    TZAStream* CompressedStream() const { return FCompressedStream; }
    uint16_t GetFileOpenMode() const { return FileOpenMode; }

    // ---- open and close -----------------------------------------------------------------
    void OpenArchive();
    void OpenArchive(uint16_t Mode);
    void OpenArchive(TZAStream& Stream, bool Create);
    void CloseArchive();
    bool IsValidArchiveFile();

    // ---- finding entries (ZAFindFiles.cpp) ----------------------------------------------
    // A search driven by FileMasks, ExclusionMasks and Options.SearchAttr.
    bool FindFirst(TZAArchiveItem& F);
    // A search for FileMask; entries whose attributes fail SearchAttr, or whose name matches
    // ExclusionMask, are passed over. False (F unchanged) when nothing is found.
    bool FindFirst(const ZAString& FileMask, TZAArchiveItem& F, int32_t SearchAttr,
                   const ZAString& ExclusionMask);
    // Continues the search F carries, after the entry found last.
    bool FindNext(TZAArchiveItem& F);

    // ---- reading entries (ZAExtract.cpp) ------------------------------------------------
    void ExtractToStream(const ZAString& FileName, TZAStream& Stream);
    void ExtractToBuffer(const ZAString& FileName, void* Buffer, int32_t Count,
                         int64_t StartPosition);
    void ExtractToString(const ZAString& FileName, ZAString& Text);
    // ---- batch operations (ZABatch.cpp) -------------------------------------------------
    void ExtractFiles();
    void ExtractFiles(const ZAString& FileMask, int32_t SearchAttr, const ZAString& ExclusionMask);
    void TestFiles();
    void TestFiles(const ZAString& FileMask, int32_t SearchAttr, const ZAString& ExclusionMask);
    // Entries of the last batch that were passed over without failing: an existing target
    // file kept by the overwrite or read-only rules, or a password dialog cancelled.
    int32_t SkippedFileCount() const { return FSkippedFileCount; }
    // ---- password test (ZAPasswordCheck.cpp) --------------------------------------------
    // Whether Password opens the entry FileName (found as a mask over all attributes;
    // NativeError 42 when there is none): true for an entry that is not encrypted; else a
    // quick check of the password, then a full trial extraction that discards the data.
    // Never asks for a password; Password and the archiver's state stay as they were.
    bool IsFilePasswordValid(const ZAString& FileName, const ZAAnsiString& Password);
    // Whether the last entry read was skipped because no working password was given.
    bool FileSkipped() const { return FSkipFile; }

    // ---- archive writing: named, not carried out (EZANotSupported) ----------------------
    void BeginUpdate();
    void EndUpdate();
    void CancelUpdate();
    void AddFromStream(const ZAString& FileName, TZAStream& Stream, bool CopyToBuffer,
                       int64_t Position, int64_t Count, int32_t Attr, double DateTime);
    void AddFromBuffer(const ZAString& FileName, const void* Buffer, int32_t Count,
                       int32_t Attr, double DateTime);
    void AddFromString(const ZAString& FileName, const ZAString& Text, int32_t Attr,
                       double DateTime);
    void AddFiles();
    void AddFiles(const ZAString& FileMask, int32_t SearchAttr, const ZAString& ExclusionMask);
    void MoveFiles();
    void MoveFiles(const ZAString& FileMask, int32_t SearchAttr, const ZAString& ExclusionMask);
    void DeleteFiles();
    void DeleteFiles(const ZAString& FileMask, int32_t SearchAttr,
                     const ZAString& ExclusionMask);
    void UpdateFiles();
    void UpdateFiles(const ZAString& FileMask, int32_t SearchAttr,
                     const ZAString& ExclusionMask);
    void RenameFile(const ZAString& OldName, const ZAString& NewName);
    void ChangeFilesAttr(const ZAString& FileMask, int32_t NewAttr);
    void ChangeFilesIntAttr(const ZAString& FileMask, int32_t NewAttr);
    void ChangeFilesComment(const ZAString& FileMask, const ZAAnsiString& NewComment);
    void MakeSFX(const ZAString& SFXFileName);
    void RepairArchive(const ZAString& OutputFileName);
    void FastFileAppend(TZAStream& OuTZAFileStream, TZAStream& InFileStream,
                        const ZAString& FileName);

protected:
    // ---- virtual operations -------------------------------------------------------------
    virtual void UpdateCompressionMethod();
    virtual void DoOnOverallProgress(double Progress, TZAProcessOperation Operation,
                                     TZAProgressPhase ProgressPhase, bool& Cancel);
    virtual void DoOnFileProgress(const ZAString& FileName, double Progress,
                                  TZAProcessOperation Operation, TZAProgressPhase ProgressPhase,
                                  bool& Cancel);
    virtual void DoOnCopyTempFileProgress(double Progress, TZAProgressPhase ProgressPhase,
                                          bool& Cancel);
    virtual void DoOnConfirmOverwrite(const ZAString& SourceFileName, ZAString& DestFileName,
                                      bool& Confirm);
    virtual void DoOnConfirmProcessFile(const ZAString& FileName, TZAProcessOperation Operation,
                                        bool& Confirm);
    virtual void DoOnPassword(const ZAString& FileName, ZAAnsiString& NewPassword,
                              bool& SkipFile);
    virtual void DoOnProcessFileFailure(const ZAString& FileName, TZAProcessOperation Operation,
                                        int32_t NativeError, int32_t ErrorCode,
                                        const ZAString& ErrorMessage, TZAAction& Action);
    virtual void DoOnRequestBlankVolume(int32_t VolumeNumber, ZAString& VolumeFileName,
                                        bool& Cancel);
    virtual void DoOnRequestFirstVolume(ZAString& VolumeFileName, bool& Cancel);
    virtual void DoOnRequestLastVolume(ZAString& VolumeFileName, bool& Cancel);
    virtual void DoOnRequestMiddleVolume(int32_t VolumeNumber, ZAString& VolumeFileName,
                                         bool& Cancel);
    virtual void DoOnDiskFull(int32_t VolumeNumber, const ZAString& VolumeFileName,
                              bool& Cancel);
    virtual void DoOnProcessVolumeFailure(TZAProcessOperation Operation, int32_t VolumeNumber,
                                          const ZAString& VolumeFileName, bool& Cancel);
    virtual void DoOnStoreFile(ZAString& FileName, int32_t& FileAttr, ZAAnsiString& Comment,
                               const ZAString& OriginalFileName);
    virtual void DoOnExtractFile(ZAString& FileName, uint32_t& FileAttr,
                                 const ZAAnsiString& Comment);

    // ---- guards -------------------------------------------------------------------------
    // NativeError 13 when no archive is open.
    void CheckActive() const;
    // NativeError 26 while an update is running.
    void CheckNotInUpdate() const;

    // ---- steps of opening ---------------------------------------------------------------
    void DoOpenArchive();
    void CreateArchive();
    void OpenExistingArchive();
    void OpenExeArchive();
    // The loop shared by both: open the last volume and search its end record.
    void SearchLastVolume(bool TestRemovable);
    void DetectSpanningMode();
    // Whether a numbered volume of a split set lies beside the archive under the current
    // naming: the one before the last volume DiskNumber, or else the first.
    bool SplitVolumeBeside(int32_t DiskNumber) const;
    void DoAfterOpen();
    // Replaces the archive stream by a file stream on AFileName opened with FileOpenMode.
    void OpenArchiveFile(const ZAString& AFileName);
    // Frees the archive stream unless it is a caller's, and clears the reference.
    void ReleaseArchiveStream();
    bool IsExeFileName(const ZAString& AFileName) const;
    bool IsRemovableDrive(const ZAString& AFileName) const;
    // Writes the end record of an archive that holds no entries behind the stub.
    void WriteEmptyArchive();

    // ---- volumes ------------------------------------------------------------------------
    // Makes the archive stream the volume that Info designates (asking for it in a set).
    void OpenVolume(const TZAVolumeNumberInfo& Info);
    // The file name of volume VolumeNumber (-1: the last) of the set named AFileName.
    void GetVolumeFileName(ZAString& AFileName, int32_t VolumeNumber,
                           bool TryOtherNaming) const;
    // Whether the set counts as self-extracting (stub measured, SFXStub set, or .exe name).
    bool IsSelfExtractingSet(const ZAString& AFileName) const;

    // ---- lookup and selection (ZAFindFiles.cpp) -----------------------------------------
    // The entry an extraction of FileName reads: exact name (A to Z folded), else the first
    // entry a mask search for it finds. Expects Options.Recurse off.
    bool FindEntryForExtraction(const ZAString& FileName, int32_t& ItemNo);
    // The search step shared by FindFirst and FindNext, from F.Handle.ItemNo on.
    bool ContinueSearch(TZAArchiveItem& F);
    // The name test of entry ItemNo for the search F carries.
    bool IsEntryMatching(int32_t ItemNo, const TZAArchiveItem& F);
    void FillArchiveItem(int32_t ItemNo, TZAArchiveItem& F);
    // Clear every entry's Tagged mark, then set it on each entry the search finds.
    void TagEntriesByMask(const ZAString& FileMask, int32_t SearchAttr,
                          const ZAString& ExclusionMask);
    void TagEntriesByProperties();

    // ---- extraction (ZAExtract.cpp) -----------------------------------------------------
    // Reads entry ItemNo into Stream; an unexcused failure raises NativeError 8.
    void ExtractEntry(int32_t ItemNo, TZAStream& Stream, int32_t Count, int64_t StartPosition,
                      TZAProcessOperation Operation = poExtract);
    // The volume descriptor of entry Item: its first volume and the archive's last one.
    TZAVolumeNumberInfo EntryVolume(const TDirItem& Item) const;
    // Opens Item's first volume and moves the archive stream to its local header.
    void SeekLocalHeader(const TDirItem& Item);

    // ---- batch work (ZABatch.cpp, ZAExtractToFile.cpp) ----------------------------------
    // The batch loop over the tagged entries (ItemNo -1) or the single entry ItemNo.
    void ProcessTaggedEntries(TZAProcessOperation Operation, int32_t ItemNo);
    // Writes entry ItemNo below TargetDir (a host folder); Name is its stored name.
    void ExtractEntryToFile(int32_t ItemNo, const ZAString& Name, const ZAString& TargetDir);
    // Reads entry ItemNo with every test and drops the data; folders are passed over.
    void TestEntry(int32_t ItemNo, const ZAString& Name);
    // Gives the folders the batch made their entries' times once their content is written.
    void StampExtractedFolders();

    // Name with every slash replaced by a backslash (names passed to handlers).
    static ZAString ToHandlerName(const ZAString& EntryName);

    // ---- state --------------------------------------------------------------------------
    ZAString FCurrentDir;
    int32_t FUpdateCount = 0;
    bool FActive = false;
    bool isZIPFormat = false;
    bool IsCustomStream = false;
    ZAString FFileName;
    ZAString VolumeFileName;
    TZAVolumeNumberInfo FVolumeNumberInfo;
    uint16_t FileOpenMode = 0;
    ZAString FTempDir, FBaseDir, FSFXStub;
    TZAOptions FOptions;
    TZAStringList FFileMasks, FExclusionMasks, FNoCompressionMasks;
    bool FInMemory = false;
    int32_t FProcessedFileNo = 0;
    int32_t FProcessedFileCount = 0;
    int64_t FProcessedFilesTotalSize = 0;
    int64_t FProcessedFilesSize = 0;
    bool FProgressCancel = false;
    bool FProgressEnabled = true;
    bool FSkipFile = false;
    int32_t FSkippedFileCount = 0;
    // Folders made by the running ExtractFiles, stamped with their entry's time at its end.
    struct TZAFolderStamp {
        ZAString Root;
        std::vector<std::string> Parts;
        uint16_t Date = 0, Time = 0;
        int32_t Mode = -1;  // permission bits to apply, -1 for none
    };
    std::vector<TZAFolderStamp> FFolderStamps;
    TZASpanningMode FSpanningMode = smNone;
    TZASpanningOptions FSpanningOptions;
    bool FExtractCorruptedFiles = false;
    bool FOpenCorruptedArchives = true;
    bool FUnicodeFilenames = false;
    int64_t FProgress = 0;
    int64_t FProgressMax = 0;
    bool FSuppressPasswordEvent = false;
    bool FUpdated = false;
    std::unique_ptr<TZADirManager> DMHandle;
    uint16_t FCompressionMethod = 0;
    TZACompressionAlgorithm FCompressionAlgorithm = caZLIB;
    TZACryptoAlgorithm FZACryptoAlgorithm = caPkzipClassic;
    uint8_t FCompressionMode = 1;
    TZACompressionLevel FCompressionLevel = clFastest;
    ZAAnsiString FPassword;
    TZAStream* FCompressedStream = nullptr;
    TZip64Mode FZip64Mode = zmAuto;

private:
    // The archive stream when the archiver owns it.
    std::unique_ptr<TZAStream> FOwnedStream;
};
