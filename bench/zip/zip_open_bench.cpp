// Opening an archive of 100,000 entries and looking up every name through the index, against
// libzip's zip_open and zip_name_locate (hashed, case-sensitive) on the same file.
#include <benchmark/benchmark.h>
#include <zip.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_archive.h"
#include "zip/ZADirManager.h"
#include "zip/ZipArchiver.h"

namespace {

constexpr int32_t kEntries = 100000;

struct BenchFile {
    std::string path;
    std::vector<std::string> names;
    std::vector<ZAString> names16;

    BenchFile() {
        path = (std::filesystem::temp_directory_path() / "kalvero-bench-100k.zip").string();
        if (!WriteBenchArchive(path, kEntries)) std::abort();
        for (int32_t i = 0; i < kEntries; ++i) {
            names.push_back(BenchEntryName(i));
            names16.push_back(Utf8ToUtf16(names.back()));
        }
    }
};

const BenchFile& File() {
    static const BenchFile file;
    return file;
}

void KalveroOpenAndLookup(benchmark::State& state, bool lookup) {
    const BenchFile& file = File();
    for (auto _ : state) {
        TZipArchiver archiver;
        archiver.SetFileName(Utf8ToUtf16(file.path));
        archiver.OpenArchive();
        TZADirArray& dir = archiver.DirManager()->CDir;
        if (dir.Count() != kEntries) state.SkipWithError("wrong entry count");
        if (lookup) {
            int64_t found = 0;
            for (int32_t i = 0; i < kEntries; ++i) {
                int32_t no = -1;
                found += dir.FileExists(file.names16[static_cast<size_t>(i)], no) && no == i;
            }
            if (found != kEntries) state.SkipWithError("a name was not found at its position");
        }
        archiver.CloseArchive();
    }
    state.SetItemsProcessed(state.iterations() * kEntries);
}

void LibzipOpenAndLookup(benchmark::State& state, bool lookup) {
    const BenchFile& file = File();
    for (auto _ : state) {
        int error = 0;
        zip_t* za = zip_open(file.path.c_str(), ZIP_RDONLY, &error);
        if (!za) {
            state.SkipWithError("zip_open failed");
            break;
        }
        if (zip_get_num_entries(za, 0) != kEntries) state.SkipWithError("wrong entry count");
        if (lookup) {
            int64_t found = 0;
            for (int32_t i = 0; i < kEntries; ++i) {
                found += zip_name_locate(za, file.names[static_cast<size_t>(i)].c_str(), 0) == i;
            }
            if (found != kEntries) state.SkipWithError("a name was not found at its position");
        }
        zip_discard(za);
    }
    state.SetItemsProcessed(state.iterations() * kEntries);
}

void BM_Kalvero_OpenAndLookupAll(benchmark::State& state) { KalveroOpenAndLookup(state, true); }
void BM_Libzip_OpenAndLookupAll(benchmark::State& state) { LibzipOpenAndLookup(state, true); }
void BM_Kalvero_OpenOnly(benchmark::State& state) { KalveroOpenAndLookup(state, false); }
void BM_Libzip_OpenOnly(benchmark::State& state) { LibzipOpenAndLookup(state, false); }

}  // namespace

BENCHMARK(BM_Kalvero_OpenAndLookupAll)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Libzip_OpenAndLookupAll)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Kalvero_OpenOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Libzip_OpenOnly)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
