#include "ZAEntryExtraction.h"

#include <algorithm>
#include <limits>
#include <optional>

#include "ZABaseArchiver.h"
#include "ZACheckedMath.h"
#include "ZADirManager.h"
#include "ZAEntryDecryption.h"
#include "ZAExcept.h"

TZAEntryExtraction::TZAEntryExtraction(TZABaseArchiver& Arc, TZAStream& Source,
                                       TZAStream& Output, const TDirItem& Entry, int32_t Count,
                                       int64_t StartPosition, TZAProcessOperation Operation)
    : FArc(Arc),
      FSource(&Source),
      FOutput(Output),
      FEntry(Entry),
      FCount(Count),
      FStartPosition(StartPosition),
      FWindowEnd(ZACheckedAdd(StartPosition, int64_t{Count})
                     .value_or(std::numeric_limits<int64_t>::max())),
      FOperation(Operation) {}

TZAEntryExtraction::~TZAEntryExtraction() = default;

// ---- the entry -------------------------------------------------------------------------------

bool TZAEntryExtraction::Run() {
    FVolume = FArc.EntryVolume(FEntry);
    FEncrypted = FEntry.IsEncrypted();

    // The local header only tells where the data begins; nothing in it is checked against
    // the directory.
    uint8_t header[TZAZipLocalHeader::Size];
    FSource->ReadBuffer(header, sizeof header);
    FLocalHeader.Decode(header);
    FSource->Seek(static_cast<int64_t>(FLocalHeader.nameLength) + FLocalHeader.extraLength,
                  soCurrent);
    if (FEncrypted) FDecryption = CreateEntryDecryption(FEntry, FLocalHeader);

    // Sizes no stream can hold make the entry a damaged one.
    const std::optional<int64_t> compressed = ZAToInt64(FEntry.EffectiveCompSize());
    const std::optional<int64_t> uncompressed = ZAToInt64(FEntry.EffectiveUnCompSize());
    if (!compressed || !uncompressed) return false;
    FCompressed = *compressed;
    FUncompressed = *uncompressed;
    FSizeLimit = FUncompressed;
    // In a single file the data never runs into the central directory.
    const int64_t dirOffset = FArc.DMHandle->CentralDirOffset;
    const std::optional<int64_t> dataEnd = ZACheckedAdd(FSource->Position(), FCompressed);
    if (!dataEnd) return false;
    if (FArc.FSpanningMode == smNone && *dataEnd > dirOffset)
        FCompressed = dirOffset - FSource->Position();

    const int64_t window = FWindowEnd;
    FArc.FProgressMax = window != 0 ? window : FUncompressed;
    if (FArc.FProgressMax == 0) FArc.FProgressMax = 2;

    FArc.FSkipFile = false;
    bool result = false;
    switch (FEntry.CompressionMethod) {
        case ZA_METHOD_STORED:
        case ZA_METHOD_DEFLATED: result = TransferEntryData(); break;
        case ZA_METHOD_DEFLATE64: throw EZAException(55);
        default: break;  // no other method is read
    }

    if (FCount == 0 && FProduced != FSizeLimit) result = false;
    if (FSizeLimitReached && !WindowComplete()) result = false;
    if (result) result = PassesIntegrityTest();
    return result;
}

bool TZAEntryExtraction::PassesIntegrityTest() {
    if (FArc.FSkipFile || FCount != 0) return true;
    if (FEntry.CentralDir.extractVersion >= ZA_AES_EXTRACT_VERSION_LIMIT) return true;
    if (FDecryption) {
        TZAMemoryStream trailer;
        ReadBlock(trailer, FDecryption->TrailerSize());
        return FDecryption->VerifyEntry(trailer, FEntry, FCrc.Value());
    }
    return FCrc.Value() == FEntry.CentralDir.crc32;
}

// ---- the data --------------------------------------------------------------------------------

bool TZAEntryExtraction::TransferEntryData() {
    if (FEncrypted) {
        // Stored data too short for the scheme's header and trailer is damaged: no password
        // is asked for and nothing is read.
        const int64_t overhead = FDecryption->Overhead();
        if (FCompressed < overhead) return false;
        FCompressed -= overhead;
        if (!ObtainWorkingPassword()) return false;
    }

    const bool deflated = FEntry.CompressionMethod == ZA_METHOD_DEFLATED;
    const int64_t inputSize = std::clamp<int64_t>(FCompressed, 1, ChunkSize);
    FInput.reset(new uint8_t[static_cast<size_t>(inputSize)]);
    if (deflated) {
        FOutputBuffer.reset(new uint8_t[static_cast<size_t>(2 * ChunkSize)]);
        if (!FInflate.Init()) return false;
    }

    bool stopped = false;
    while (!stopped && FConsumed < FCompressed) {
        const int64_t n = std::min(ChunkSize, FCompressed - FConsumed);
        uint8_t* chunk = FInput.get();
        if (!ReadChunk(chunk, n)) return false;
        const int64_t before = FProduced;
        const uint64_t totalBefore = deflated ? FInflate.Stream().total_out : 0;
        if (!ProcessChunk(chunk, n)) return false;
        const int64_t chunkOutput =
            deflated ? static_cast<int64_t>(FInflate.Stream().total_out - totalBefore) : FProduced - before;
        FProduced = FSizeLimitReached ? FSizeLimit : before + chunkOutput;
        FConsumed += n;
        stopped = FSizeLimitReached || WindowComplete();
    }

    FInflate.End();
    FCrc.WaitForPiece();
    FInput.reset();
    FOutputBuffer.reset();
    return true;
}

bool TZAEntryExtraction::ObtainWorkingPassword() {
    FArc.FSkipFile = false;
    // The header before the encrypted content may lie across two volumes of a set: it is
    // read once, and every attempt judges the same bytes.
    TZAMemoryStream header;
    ReadBlock(header, FDecryption->Overhead() - FDecryption->TrailerSize());
    bool passed = false;
    do {
        header.SetPosition(0);
        passed = FDecryption->TryPassword(header, FArc.FPassword);
        if (FArc.FSuppressPasswordEvent) return true;
        if (!passed) {
            FArc.DoOnPassword(FEntry.Name, FArc.FPassword, FArc.FSkipFile);
            CheckArchiveUnchanged();
        }
    } while (!passed && !FArc.FSkipFile);
    return !FArc.FSkipFile;
}

bool TZAEntryExtraction::ReadChunk(uint8_t* Buffer, int64_t Length) {
    return ReadAcrossVolumes(Buffer, Length) == Length;
}

int64_t TZAEntryExtraction::ReadAcrossVolumes(uint8_t* Buffer, int64_t Length) {
    int64_t got = std::max<int64_t>(FSource->Read(Buffer, Length), 0);
    // Only a set has a next volume, and its last volume has none: data that runs past the
    // end of the set is cut short (a damaged entry), with no request for a volume that
    // cannot exist. A single file that ends early just ends.
    while (got < Length && FArc.FSpanningMode != smNone && FVolume.HasNextVolume()) {
        FVolume.SetVolumeNumber(FVolume.VolumeNumber() + 1);
        FArc.OpenVolume(FVolume);
        FSource = FArc.FCompressedStream;
        FArc.DMHandle->SetCompressedStream(FSource);
        FSource->SetPosition(0);
        got += std::max<int64_t>(FSource->Read(Buffer + got, Length - got), 0);
        if (FSource->Position() == 0) break;
    }
    return got;
}

void TZAEntryExtraction::ReadBlock(TZAMemoryStream& Block, int64_t Length) {
    uint8_t bytes[64];  // salts, verifiers, headers and codes are far smaller
    const int64_t got = ReadAcrossVolumes(bytes, std::clamp<int64_t>(Length, 0, sizeof bytes));
    Block.Write(bytes, got);
    Block.SetPosition(0);
}

bool TZAEntryExtraction::ProcessChunk(uint8_t* Input, int64_t Length) {
    if (Length <= 0) return false;
    if (FDecryption) FDecryption->Decrypt(Input, Length);
    if (FEntry.CompressionMethod == ZA_METHOD_STORED) return ProcessStoredChunk(Input, Length);
    return ProcessDeflatedChunk(Input, Length);
}

// Stored data goes out piece by piece straight from the input buffer.
bool TZAEntryExtraction::ProcessStoredChunk(const uint8_t* Input, int64_t Length) {
    int64_t pos = 0;
    while (pos < Length) {
        const uint8_t* piece = Input + pos;
        const int64_t k = std::min(Length - pos, StoredPieceSize);
        const int64_t allowed = AllowedOutput(FProduced, k);
        if (allowed < k) {
            WriteChunk(piece, allowed);
            return StopAtSizeLimit();
        }
        FProduced += k;
        FCrc.Add(piece, k);
        pos += k;
        FArc.FProgress = FConsumed + pos;
        if (FArc.FProgressEnabled && RaiseProgressPair()) return true;
        if (!WriteChunk(piece, k)) return true;
    }
    return true;
}

// The output buffer has two halves that take turns: while one half is written and its
// CRC-32 is computed on the helper thread, inflate fills the other one.
bool TZAEntryExtraction::ProcessDeflatedChunk(uint8_t* Input, int64_t Length) {
    z_stream& zs = FInflate.Stream();
    zs.next_in = Input;
    zs.avail_in = static_cast<uInt>(Length);
    uint8_t* out = FOutputBuffer.get() + FOutputHalf * ChunkSize;
    zs.next_out = out;
    zs.avail_out = static_cast<uInt>(ChunkSize);
    uint64_t mark = zs.total_out;
    for (;;) {
        FArc.FProgress = static_cast<int64_t>(zs.total_out);
        if (FArc.FProgressEnabled && RaiseProgressPair()) break;
        const int rc = FInflate.Inflate();
        if (rc < 0) {
            if (zs.avail_in == 0 && rc == Z_BUF_ERROR) break;
            return false;
        }
        const auto k = static_cast<int64_t>(zs.total_out - mark);
        const int64_t allowed = AllowedOutput(static_cast<int64_t>(mark), k);
        if (allowed < k) {
            WriteChunk(out, allowed);
            return StopAtSizeLimit();
        }
        // Checksummed while it is written; bytes that are not written are taken back out.
        FCrc.Add(out, k);
        FOutputHalf ^= 1;
        if (!WriteChunk(out, k)) {
            FCrc.DropLast();
            break;
        }
        if ((zs.avail_out > 0 && zs.avail_in == 0) || rc == Z_STREAM_END) break;
        out = FOutputBuffer.get() + FOutputHalf * ChunkSize;
        zs.next_out = out;
        zs.avail_out = static_cast<uInt>(ChunkSize);
        mark = zs.total_out;
    }
    return true;
}

int64_t TZAEntryExtraction::AllowedOutput(int64_t AlreadyProduced, int64_t Length) {
    if (FArc.FExtractCorruptedFiles || AlreadyProduced + Length <= FSizeLimit) return Length;
    return std::max<int64_t>(FSizeLimit - AlreadyProduced, 0);
}

bool TZAEntryExtraction::WriteChunk(const uint8_t* Data, int64_t Length) {
    const int64_t p = FOutput.Position();
    for (;;) {
        if (FOutput.Write(Data, Length) == Length) return true;
        FArc.FProgressCancel = true;
        FArc.DoOnDiskFull(-1, FArc.FFileName, FArc.FProgressCancel);
        CheckArchiveUnchanged();
        if (FArc.FProgressCancel) return false;
        FOutput.SetPosition(p);
    }
}

bool TZAEntryExtraction::RaiseProgressPair() {
    const double part = static_cast<double>(FArc.FProgress) / static_cast<double>(FArc.FProgressMax);
    FArc.DoOnFileProgress(FEntry.Name, part * 100.0, FOperation, ppProcess, FArc.FProgressCancel);
    CheckArchiveUnchanged();
    if (FArc.FProgressCancel) return true;
    const double overall = (part + FArc.FProcessedFileNo) / FArc.FProcessedFileCount * 100.0;
    FArc.DoOnOverallProgress(overall, FOperation, ppProcess, FArc.FProgressCancel);
    CheckArchiveUnchanged();
    return FArc.FProgressCancel;
}

void TZAEntryExtraction::CheckArchiveUnchanged() const {
    if (!FArc.FActive || FArc.FCompressedStream != FSource) throw EZAException(13, &FArc);
}

bool TZAEntryExtraction::StopAtSizeLimit() {
    if (FCount == 0) return false;
    FSizeLimitReached = true;
    return true;
}
