#!/usr/bin/env bash
# The archiver's tests under AddressSanitizer and UBSan (build-asan), then a short fuzzing smoke
# test of the directory loading and of batch extraction with clang (build-fuzz) on the seeds
# committed under fuzz/seeds. KALVERO_FUZZ_SECONDS sets the fuzzing time of each target (default 30).
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
# Warnings are errors in the ordinary build; here they are not, because g++ 12 reports false
# -Wrestrict and -Wstringop-overflow findings in code instrumented by the sanitizers.

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKALVERO_SANITIZE=ON -DKALVERO_WITH_QT=OFF -DKALVERO_BENCH=OFF
cmake --build build-asan --target zip_tests -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ./build-asan/tests/zip/zip_tests --gtest_brief=1

cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ \
  -DKALVERO_SANITIZE=ON -DKALVERO_FUZZ=ON -DKALVERO_WITH_QT=OFF -DKALVERO_TESTS=OFF \
  -DKALVERO_BENCH=OFF
cmake --build build-fuzz --target zip_fuzz batch_fuzz zip_corpus_check -j "$jobs"
./build-fuzz/fuzz/zip_corpus_check fuzz/seeds > /dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp fuzz/seeds/* "$work"/
./build-fuzz/fuzz/zip_fuzz -max_total_time="${KALVERO_FUZZ_SECONDS:-30}" -max_len=65536 \
  -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 "$work"
# Batch extraction and testing of the same seeds; it stops when a file lands outside its
# target folder.
batch=$(mktemp -d)
trap 'rm -rf "$work" "$batch"' EXIT
cp fuzz/seeds/* "$batch"/
./build-fuzz/fuzz/batch_fuzz -max_total_time="${KALVERO_FUZZ_SECONDS:-30}" -max_len=65536 \
  -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 "$batch"
