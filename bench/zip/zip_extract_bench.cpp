// Extracting one 256 MiB entry into a memory stream: a deflated entry through ExtractToStream
// against a bare loop of zlib's inflate and crc32 over the same deflate data, and a stored
// entry against copying and checksumming the same bytes.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <string>

#include "bench_archive.h"
#include "zip/ZipArchiver.h"
#include "extract_rounds.h"

namespace {

constexpr int64_t kEntrySize = 256ll << 20;
constexpr int64_t kChunk = 1 << 20;


// Waypoint lines with varying figures: text that deflates about as well as a pocket query.
std::string PocketQueryLikeText(int64_t size) {
    std::string text;
    text.reserve(static_cast<size_t>(size) + 256);
    std::mt19937 engine(4711);
    auto rng = [&engine] { return static_cast<uint32_t>(engine()); };
    char line[256];
    while (static_cast<int64_t>(text.size()) < size) {
        const uint32_t r = rng();
        const int n = std::snprintf(line, sizeof line,
                                    "<wpt lat=\"%u.%05u\" lon=\"%u.%05u\"><name>GC%05X</name>"
                                    "<groundspeak:date>20%02u-%02u-%02uT%02u:00:00</groundspeak:date>"
                                    "<groundspeak:type>Found it</groundspeak:type></wpt>\n",
                                    47 + r % 8, rng() % 100000, 6 + r % 9, rng() % 100000,
                                    rng() & 0xFFFFF, 10 + r % 14, 1 + r % 12, 1 + r % 28, r % 24);
        text.append(line, static_cast<size_t>(n));
    }
    text.resize(static_cast<size_t>(size));
    return text;
}

// An archive of one entry named "big" holding `packed`.
std::string OneEntryZip(const std::string& packed, uint16_t method, uint32_t crc, uint32_t size) {
    std::string zip;
    auto header = [&](bool central) {
        Put32(zip, central ? 0x02014B50 : 0x04034B50);
        if (central) Put16(zip, 20);
        Put16(zip, 20);
        Put16(zip, 0);
        Put16(zip, method);
        Put32(zip, 0);
        Put32(zip, crc);
        Put32(zip, static_cast<uint32_t>(packed.size()));
        Put32(zip, size);
        Put16(zip, 3);
        Put16(zip, 0);
        if (central) {
            Put32(zip, 0);  // comment length, first volume
            Put16(zip, 0);  // internal attributes
            Put32(zip, 0x20);
            Put32(zip, 0);  // local header offset
        }
        zip += "big";
    };
    header(false);
    zip += packed;
    const auto dir = static_cast<uint32_t>(zip.size());
    header(true);
    Put32(zip, 0x06054B50);
    Put32(zip, 0);
    Put16(zip, 1);
    Put16(zip, 1);
    Put32(zip, static_cast<uint32_t>(zip.size() - dir - 12));
    Put32(zip, dir);
    Put16(zip, 0);
    return zip;
}

struct BenchData {
    std::string deflate;  // raw deflate data of the entry
    uint32_t crc = 0;
    TZAMemoryStream deflatedZip, storedZip;

    BenchData() {
        const std::string text = PocketQueryLikeText(kEntrySize);
        crc = static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(text.data()),
                                          static_cast<uInt>(text.size())));
        deflate = RawDeflate(text, Z_DEFAULT_COMPRESSION);
        const std::string dz = OneEntryZip(deflate, 8, crc, static_cast<uint32_t>(text.size()));
        deflatedZip.Write(dz.data(), static_cast<int64_t>(dz.size()));
        const std::string sz = OneEntryZip(text, 0, crc, static_cast<uint32_t>(text.size()));
        storedZip.Write(sz.data(), static_cast<int64_t>(sz.size()));
    }
};

BenchData& Data() {
    static BenchData data;
    return data;
}

// ExtractToStream of the entry, into one memory stream of the entry's size that is rewound
// for every round (so the rounds measure the extraction, not the growth of a fresh stream).
void ExtractToStreamBench(benchmark::State& state, TZAMemoryStream& archive) {
    TZipArchiver archiver;
    archiver.OpenArchive(archive, false);
    ExtractBigEntryRounds(state, archiver, kEntrySize);
}

void BM_ExtractToStream_Deflated(benchmark::State& state) {
    ExtractToStreamBench(state, Data().deflatedZip);
}

void BM_ExtractToStream_Stored(benchmark::State& state) {
    ExtractToStreamBench(state, Data().storedZip);
}

// A fresh, empty memory stream per round, as the main window extracts.
void BM_ExtractToStream_Deflated_FreshStream(benchmark::State& state) {
    TZipArchiver archiver;
    archiver.OpenArchive(Data().deflatedZip, false);
    for (auto _ : state) {
        TZAMemoryStream out;
        archiver.ExtractToStream(u"big", out);
        if (out.Size() != kEntrySize) state.SkipWithError("wrong size");
        benchmark::DoNotOptimize(out.Memory());
    }
    archiver.CloseArchive();
    state.SetBytesProcessed(state.iterations() * kEntrySize);
}

// zlib alone: inflate of the same deflate data in 1 MiB pieces into a 1 MiB buffer, with
// crc32 over every output piece. Raw: the deflate data as it is (window bits -15). Wrapped:
// behind the same two-byte zlib header the archiver puts in front, so that zlib also keeps
// the stream's Adler-32 over the output, as it does inside the archiver.
void BareInflateAndCrc32(benchmark::State& state, bool wrapped) {
    const std::string deflate = wrapped ? std::string("\x78\x01", 2) + Data().deflate : Data().deflate;
    std::unique_ptr<uint8_t[]> out(new uint8_t[kChunk]);
    for (auto _ : state) {
        z_stream zs{};
        if ((wrapped ? inflateInit(&zs) : inflateInit2(&zs, -15)) != Z_OK) std::abort();
        uLong crc = 0;
        size_t consumed = 0;
        int rc = Z_OK;
        while (rc != Z_STREAM_END && consumed < deflate.size()) {
            const size_t n = std::min<size_t>(kChunk, deflate.size() - consumed);
            zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(deflate.data() + consumed));
            zs.avail_in = static_cast<uInt>(n);
            do {
                zs.next_out = out.get();
                zs.avail_out = static_cast<uInt>(kChunk);
                rc = inflate(&zs, Z_NO_FLUSH);
                if (rc < 0 && rc != Z_BUF_ERROR) std::abort();
                crc = crc32(crc, out.get(), static_cast<uInt>(kChunk - zs.avail_out));
            } while (zs.avail_out == 0 && rc != Z_STREAM_END);
            consumed += n;
        }
        if (zs.total_out != static_cast<uLong>(kEntrySize) || crc != Data().crc)
            state.SkipWithError("wrong result");
        inflateEnd(&zs);
    }
    state.SetBytesProcessed(state.iterations() * kEntrySize);
}

void BM_BareInflateAndCrc32_Raw(benchmark::State& state) { BareInflateAndCrc32(state, false); }
void BM_BareInflateAndCrc32_Wrapped(benchmark::State& state) { BareInflateAndCrc32(state, true); }

// Memory speed: copy the stored bytes into a buffer of the entry's size and checksum them.
void BM_BareCopyAndCrc32(benchmark::State& state) {
    TZAMemoryStream& zip = Data().storedZip;
    const uint8_t* data = zip.Memory() + 30 + 3;
    std::unique_ptr<uint8_t[]> out(new uint8_t[kEntrySize]);
    std::memset(out.get(), 0, kEntrySize);
    for (auto _ : state) {
        uLong crc = 0;
        for (int64_t pos = 0; pos < kEntrySize; pos += kChunk) {
            std::memcpy(out.get() + pos, data + pos, kChunk);
            crc = crc32(crc, out.get() + pos, static_cast<uInt>(kChunk));
        }
        if (crc != Data().crc) state.SkipWithError("wrong result");
        benchmark::DoNotOptimize(out.get());
    }
    state.SetBytesProcessed(state.iterations() * kEntrySize);
}

}  // namespace

// Wall-clock time throughout: the extraction checksums large entries on a second thread, whose
// work the CPU time of the benchmark's own thread would leave out.
BENCHMARK(BM_BareInflateAndCrc32_Raw)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();
BENCHMARK(BM_BareInflateAndCrc32_Wrapped)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();
BENCHMARK(BM_ExtractToStream_Deflated)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();
BENCHMARK(BM_ExtractToStream_Deflated_FreshStream)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();
BENCHMARK(BM_BareCopyAndCrc32)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_ExtractToStream_Stored)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

BENCHMARK_MAIN();
