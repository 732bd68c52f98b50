// Reading one 256 MiB deflated entry from a split set of 64 MiB volumes (as Info-ZIP's
// zip -s 64m writes it, lower-case volume names) against the same entry in a single archive
// file. Both archives are written to a temporary folder first and opened by file name as the
// main window opens them; each round extracts the entry into one memory stream of its size.
// The split set's throughput should be at least 0.95 of the single file's.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "bench_archive.h"
#include "zip/ZipArchiver.h"
#include "extract_rounds.h"

namespace {

constexpr int64_t kEntrySize = 256ll << 20;
constexpr size_t kVolumeSize = 64ull << 20;

// Log lines with a long random text blob each: deflates to about three quarters of its size,
// so the entry's data runs through three or four 64 MiB volumes.
std::string LogText(int64_t size) {
    static const char kBlob[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    text.reserve(static_cast<size_t>(size) + 256);
    std::mt19937 rng(4711);
    uint32_t line = 0;
    while (static_cast<int64_t>(text.size()) < size) {
        text += "<groundspeak:log id=\"" + std::to_string(++line) +
                "\"><groundspeak:type>Found it</groundspeak:type><groundspeak:text>";
        for (int i = 0; i < 480; ++i) text.push_back(kBlob[rng() & 63]);
        text += "</groundspeak:text></groundspeak:log>\n";
    }
    text.resize(static_cast<size_t>(size));
    return text;
}

// The local header (Local) or central directory header of the entry "big"; the central one
// names the volume and offset of the local header.
std::string Header(bool Local, uint32_t Crc, uint32_t Packed, uint16_t Volume, uint32_t Offset) {
    std::string h;
    Put32(h, Local ? 0x04034B50 : 0x02014B50);
    if (!Local) Put16(h, 20);
    Put16(h, 20);
    Put16(h, 0);
    Put16(h, 8);
    Put32(h, 0);
    Put32(h, Crc);
    Put32(h, Packed);
    Put32(h, static_cast<uint32_t>(kEntrySize));
    Put16(h, 3);
    Put16(h, 0);
    if (!Local) {
        Put16(h, 0);  // comment length
        Put16(h, Volume);
        Put16(h, 0);  // internal attributes
        Put32(h, 0x20);
        Put32(h, Offset);
    }
    return h + "big";
}

std::string EndRecord(uint16_t Volume, uint32_t DirSize, uint32_t DirOffset) {
    std::string e;
    Put32(e, 0x06054B50);
    Put16(e, Volume);
    Put16(e, Volume);
    Put16(e, 1);
    Put16(e, 1);
    Put32(e, DirSize);
    Put32(e, DirOffset);
    Put16(e, 0);
    return e;
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) std::abort();
}

struct Archives {
    std::string folder;
    std::string single, split;
    size_t volumes = 0;

    Archives() {
        std::string pattern = (std::filesystem::temp_directory_path() / "kalvero-vol-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        folder = pattern;
        const std::string text = LogText(kEntrySize);
        const auto crc = static_cast<uint32_t>(
            crc32(0, reinterpret_cast<const Bytef*>(text.data()), static_cast<uInt>(text.size())));
        const std::string packed = RawDeflate(text, Z_BEST_SPEED);
        const auto packedSize = static_cast<uint32_t>(packed.size());

        single = folder + "/single.zip";
        std::string one = Header(true, crc, packedSize, 0, 0) + packed;
        const auto dir = static_cast<uint32_t>(one.size());
        const std::string central = Header(false, crc, packedSize, 0, 0);
        one += central + EndRecord(0, static_cast<uint32_t>(central.size()), dir);
        WriteFile(single, one);
        one.clear();

        // The split marker and the local header open the first volume; the data fills the
        // volumes; the directory and end record follow in the last one.
        std::vector<std::string> set(1, std::string("PK\x07\x08", 4));
        set[0] += Header(true, crc, packedSize, 0, 0);
        for (size_t at = 0; at < packed.size();) {
            if (set.back().size() == kVolumeSize) set.emplace_back();
            const size_t n = std::min(packed.size() - at, kVolumeSize - set.back().size());
            set.back().append(packed, at, n);
            at += n;
        }
        const std::string splitCentral = Header(false, crc, packedSize, 0, 4);
        if (set.back().size() + splitCentral.size() + 22 > kVolumeSize) set.emplace_back();
        const auto last = static_cast<uint16_t>(set.size() - 1);
        const auto splitDir = static_cast<uint32_t>(set.back().size());
        set.back() += splitCentral + EndRecord(last, static_cast<uint32_t>(splitCentral.size()), splitDir);
        for (size_t i = 0; i + 1 < set.size(); ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "/finds.z%02zu", i + 1);
            WriteFile(folder + name, set[i]);
        }
        split = folder + "/finds.zip";
        WriteFile(split, set.back());
        volumes = set.size();
    }
    ~Archives() { std::filesystem::remove_all(folder); }
};

Archives& Files() {
    static Archives files;
    return files;
}

void ExtractFromFile(benchmark::State& state, const std::string& path, TZASpanningMode expected) {
    TZipArchiver archiver;
    archiver.SetFileName(Utf8ToUtf16(path));
    archiver.OpenArchive();
    if (archiver.SpanningMode() != expected) state.SkipWithError("set not recognised");
    ExtractBigEntryRounds(state, archiver, kEntrySize);
    state.counters["volumes"] = static_cast<double>(expected == smNone ? 1 : Files().volumes);
}

void BM_Extract_SingleFile(benchmark::State& state) {
    ExtractFromFile(state, Files().single, smNone);
}

void BM_Extract_SplitSet64MiB(benchmark::State& state) {
    ExtractFromFile(state, Files().split, smSplitting);
}

}  // namespace

BENCHMARK(BM_Extract_SingleFile)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();
BENCHMARK(BM_Extract_SplitSet64MiB)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();
BENCHMARK(BM_Extract_SingleFile)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();
BENCHMARK(BM_Extract_SplitSet64MiB)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();

BENCHMARK_MAIN();
