#pragma once
// The timed loop of the extraction benchmarks: the entry "big" of an open archive, extracted
// into one memory stream of the entry's size that is rewound for every round (so the rounds
// measure the extraction, not the growth of a fresh stream). Closes the archive afterwards.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "zip/ZipArchiver.h"

inline void ExtractBigEntryRounds(benchmark::State& state, TZipArchiver& archiver, int64_t size) {
    TZAMemoryStream out;
    out.SetSize(size);
    for (auto _ : state) {
        out.SetPosition(0);
        archiver.ExtractToStream(u"big", out);
        if (out.Position() != size) state.SkipWithError("wrong size");
        benchmark::DoNotOptimize(out.Memory());
    }
    archiver.CloseArchive();
    state.SetBytesProcessed(state.iterations() * size);
}
