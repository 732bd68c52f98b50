#!/usr/bin/env bash
# The archiver's tests under AddressSanitizer and UBSan (build-asan), the analysis's tests
# likewise (build-asan-stats), then a short fuzzing smoke
# test with clang (build-fuzz) of the directory loading, of the extraction of every entry and of
# batch extraction and testing into a sandbox folder, on the seeds committed under fuzz/seeds
# (fuzz/make_seeds.py writes them). KALVERO_FUZZ_SECONDS sets each target's fuzzing time
# (default 30).
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

# The analysis's text loading and searches (vector code, positions into mapped texts) under the
# same sanitizers; only their tests are built here.
cmake -S . -B build-asan-stats -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKALVERO_SANITIZE=ON -DKALVERO_BENCH=OFF
cmake --build build-asan-stats --target stats_tests -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ./build-asan-stats/tests/stats/stats_tests --gtest_brief=1

cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ \
  -DKALVERO_SANITIZE=ON -DKALVERO_FUZZ=ON -DKALVERO_WITH_QT=OFF -DKALVERO_TESTS=OFF \
  -DKALVERO_BENCH=OFF
cmake --build build-fuzz --target zip_fuzz zip_extract_fuzz batch_fuzz zip_corpus_check -j "$jobs"
./build-fuzz/fuzz/zip_corpus_check fuzz/seeds > /dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Each target grows a corpus of its own from the seeds.
for target in zip_fuzz zip_extract_fuzz batch_fuzz; do
  mkdir "$work/$target"
  cp fuzz/seeds/* "$work/$target"/
  ./build-fuzz/fuzz/$target -max_total_time="${KALVERO_FUZZ_SECONDS:-30}" -max_len=65536 \
    -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 "$work/$target"
done
