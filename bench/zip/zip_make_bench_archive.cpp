// Writes the benchmark archive: zip_make_bench_archive <path> [entries, default 100000].
#include <cstdio>
#include <cstdlib>

#include "bench_archive.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <path> [entries]\n", argv[0]);
        return 2;
    }
    const int entries = argc > 2 ? std::atoi(argv[2]) : 100000;
    if (!WriteBenchArchive(argv[1], entries)) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
