#include "ZAEntryExtraction.h"

#include <algorithm>

#include "ZABaseArchiver.h"
#include "ZADirManager.h"
#include "ZAEntryDecryption.h"
#include "ZAExcept.h"

namespace {

// zlib's crc32 and inflate take their lengths as uInt: feed them at most this much at once.
constexpr int64_t kZlibStep = 1 << 30;

uint32_t UpdateCrc(uint32_t Crc, const uint8_t* Data, int64_t Length) {
    while (Length > 0) {
        const auto n = static_cast<uInt>(std::min(Length, kZlibStep));
        Crc = static_cast<uint32_t>(crc32(Crc, Data, n));
        Data += n;
        Length -= n;
    }
    return Crc;
}

}  // namespace

TZAEntryExtraction::TZAEntryExtraction(TZABaseArchiver& Arc, TZAStream& Source,
                                       TZAStream& Output, const TDirItem& Entry, int32_t Count,
                                       int64_t StartPosition, TZAProcessOperation Operation)
    : FArc(Arc),
      FSource(&Source),
      FOutput(Output),
      FEntry(Entry),
      FCount(Count),
      FStartPosition(StartPosition),
      FOperation(Operation) {}

TZAEntryExtraction::~TZAEntryExtraction() {
    if (FInflateActive) inflateEnd(&FInflate);
}

// ---- the entry -------------------------------------------------------------------------------

bool TZAEntryExtraction::Run() {
    const TZAZipCentralDir& cd = FEntry.CentralDir;
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

    FCrc = 0;
    if (cd.compSize == ZA_ZIP64_MARKER32) {
        FCompressed = static_cast<int64_t>(FEntry.Zip64ExtInfo.compSize);
        FUncompressed = static_cast<int64_t>(FEntry.Zip64ExtInfo.uncompSize);
    } else {
        FCompressed = cd.compSize;
        FUncompressed = cd.unCompSize;
    }
    FSizeLimit = static_cast<int64_t>(FEntry.EffectiveUnCompSize());
    // In a single file the data never runs into the central directory.
    const int64_t dirOffset = FArc.DMHandle->CentralDirOffset;
    if (FArc.FSpanningMode == smNone && FCompressed > dirOffset - FSource->Position())
        FCompressed = dirOffset - FSource->Position();

    const int64_t window = FStartPosition + FCount;
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
    if (result) result = PassesIntegrityTest();
    return result;
}

bool TZAEntryExtraction::PassesIntegrityTest() {
    if (FArc.FSkipFile || FCount != 0) return true;
    if (FEntry.CentralDir.extractVersion >= ZA_AES_EXTRACT_VERSION_LIMIT) return true;
    if (FDecryption) return FDecryption->VerifyEntry(*FSource, FEntry, FCrc);
    return FCrc == FEntry.CentralDir.crc32;
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
    // Two spare bytes in front of the first chunk take the synthetic stream header.
    const int64_t inputSize = std::clamp<int64_t>(FCompressed, 0, ChunkSize) + 2;
    FInput.reset(new uint8_t[static_cast<size_t>(inputSize)]);
    if (deflated) {
        FOutputBuffer.reset(new uint8_t[static_cast<size_t>(ChunkSize)]);
        FInflate = z_stream{};
        if (inflateInit(&FInflate) != Z_OK) return false;
        FInflateActive = true;
    }

    bool stopped = false;
    while (!stopped && FConsumed < FCompressed) {
        const int64_t n = std::min(ChunkSize, FCompressed - FConsumed);
        uint8_t* chunk = FInput.get() + 2;
        if (!ReadChunk(chunk, n)) return false;
        const int64_t before = FProduced;
        const uint64_t totalBefore = deflated ? FInflate.total_out : 0;
        if (!ProcessChunk(chunk, n)) return false;
        const int64_t chunkOutput =
            deflated ? static_cast<int64_t>(FInflate.total_out - totalBefore) : FProduced - before;
        FProduced = before + chunkOutput;
        FConsumed += n;
        stopped = ApplyWindow(chunkOutput);
    }

    if (FInflateActive) {
        inflateEnd(&FInflate);
        FInflateActive = false;
    }
    FInput.reset();
    FOutputBuffer.reset();
    return true;
}

bool TZAEntryExtraction::ObtainWorkingPassword() {
    FArc.FSkipFile = false;
    const int64_t dataStart = FSource->Position();
    bool passed = false;
    do {
        FSource->SetPosition(dataStart);
        passed = FDecryption->TryPassword(*FSource, FArc.FPassword);
        if (FArc.FSuppressPasswordEvent) return true;
        if (!passed) {
            FArc.DoOnPassword(FEntry.Name, FArc.FPassword, FArc.FSkipFile);
            CheckArchiveUnchanged();
        }
    } while (!passed && !FArc.FSkipFile);
    return !FArc.FSkipFile;
}

bool TZAEntryExtraction::ReadChunk(uint8_t* Buffer, int64_t Length) {
    int64_t got = std::max<int64_t>(FSource->Read(Buffer, Length), 0);
    // Only a set has a next volume; a single file that ends early just ends.
    while (got < Length && FArc.FSpanningMode != smNone) {
        FVolume.SetVolumeNumber(FVolume.VolumeNumber() + 1);
        FArc.OpenVolume(FVolume);
        FSource = FArc.FCompressedStream;
        FArc.DMHandle->SetCompressedStream(FSource);
        FSource->SetPosition(0);
        got += std::max<int64_t>(FSource->Read(Buffer + got, Length - got), 0);
        if (FSource->Position() == 0) break;
    }
    return got == Length;
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
            return false;
        }
        FProduced += k;
        FCrc = UpdateCrc(FCrc, piece, k);
        pos += k;
        FArc.FProgress = FConsumed + pos;
        if (FArc.FProgressEnabled && RaiseProgressPair()) return true;
        if (!WriteChunk(piece, k)) return true;
    }
    return true;
}

bool TZAEntryExtraction::ProcessDeflatedChunk(uint8_t* Input, int64_t Length) {
    uint8_t* out = FOutputBuffer.get();
    if (FConsumed == 0) {
        // The entry holds raw deflate data; with this zlib header in front it reads as a
        // zlib stream (deflate, 32 KiB window, no dictionary). The stream's Adler-32 trailer
        // is never reached: the data ends when the entry's bytes are used up.
        Input -= 2;
        Input[0] = 0x78;
        Input[1] = 0x01;
        Length += 2;
    }
    FInflate.next_in = Input;
    FInflate.avail_in = static_cast<uInt>(Length);
    FInflate.next_out = out;
    FInflate.avail_out = static_cast<uInt>(ChunkSize);
    uint64_t mark = FInflate.total_out;
    for (;;) {
        FArc.FProgress = static_cast<int64_t>(FInflate.total_out);
        if (FArc.FProgressEnabled && RaiseProgressPair()) break;
        const int rc = inflate(&FInflate, Z_NO_FLUSH);
        if (rc < 0) {
            if (FInflate.avail_in == 0 && rc == Z_BUF_ERROR) break;
            return false;
        }
        const auto k = static_cast<int64_t>(FInflate.total_out - mark);
        const int64_t allowed = AllowedOutput(static_cast<int64_t>(mark), k);
        if (allowed < k) {
            WriteChunk(out, allowed);
            return false;
        }
        if (!WriteChunk(out, k)) break;
        FCrc = UpdateCrc(FCrc, out, k);
        if ((FInflate.avail_out > 0 && FInflate.avail_in == 0) || rc == Z_STREAM_END) break;
        FInflate.next_out = out;
        FInflate.avail_out = static_cast<uInt>(ChunkSize);
        mark = FInflate.total_out;
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

bool TZAEntryExtraction::ApplyWindow(int64_t ChunkOutput) {
    const int64_t total = FProduced;
    if (total < FStartPosition) {
        // The start lies further on: the next chunk's output replaces this one. What lies
        // before the start is dropped, so that a window running past the end finds no stale
        // bytes of earlier chunks behind the last one.
        FOutput.SetSize(0);
        FOutput.SetPosition(0);
    } else if (total - ChunkOutput < FStartPosition) {
        FWindowOffset = FStartPosition - (total - ChunkOutput);
    }
    if (FCount > 0 && FStartPosition + FCount <= total) {
        if (FStartPosition > 0) FOutput.SetPosition(FWindowOffset);
        return true;
    }
    return false;
}
