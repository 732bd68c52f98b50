#!/usr/bin/env bash
# Opens every file of a folder as an archive and walks its directory, in a build with
# AddressSanitizer and UBSan (build-corpus). Default folder: ../shared/corpus/libzip.
# Exits non-zero when a file ends in anything but an opened archive or an archiver or stream
# error, or when a sanitizer reports.
set -euo pipefail
cd "$(dirname "$0")/.."
folder=${1:-../shared/corpus/libzip}
cmake -S . -B build-corpus -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKALVERO_SANITIZE=ON -DKALVERO_FUZZ=ON -DKALVERO_WITH_QT=OFF -DKALVERO_TESTS=OFF \
  -DKALVERO_BENCH=OFF
cmake --build build-corpus --target zip_corpus_check -j "$(nproc)"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 ./build-corpus/fuzz/zip_corpus_check "$folder"
