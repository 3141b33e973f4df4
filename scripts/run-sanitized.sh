#!/usr/bin/env bash
# The sanitizer and fuzzing job (scripts/run-tests.sh --sanitize runs it):
#  1. every test once more in a separate AddressSanitizer +
#     UndefinedBehaviorSanitizer build (build-asan), LeakSanitizer on, so the
#     scenario tests, which run the client with the module loaded, also check
#     the module and ClientKit for leaks;
#  2. the libFuzzer target fuzz_host_messages (clang 14, build-fuzz) on a
#     scratch corpus made of fuzz/corpus (hand-made seeds and saved findings)
#     and fuzz/grown-corpus.tar.xz (inputs earlier fuzzing runs kept for their
#     coverage), so the run leaves the repository unchanged: every input is
#     replayed, then it fuzzes from them for TARVOLAN_FUZZ_SECONDS (default
#     120; 0 replays only) with a fixed seed (TARVOLAN_FUZZ_SEED, default 1),
#     so that a run that passed here follows the same path elsewhere;
#  3. the hand-made seeds once more with TARVOLAN_FUZZ_CHECK_RESET=1: each
#     input after the others must look to the host as on a fresh module (the
#     harness empties one module between inputs instead of loading it again);
#  4. the target fuzz_text_readers (the markup, tag, GBK, emoticon, URI, time
#     and ini readers on their own) from fuzz/text-corpus, for half that time.
# Any finding fails the job. A fuzzing finding is kept in build-fuzz/findings/;
# replay it with the target that found it: build-fuzz/bin/<target> <file>.
#
# TARVOLAN_JOBS (default 2) sets the parallel jobs, TARVOLAN_FUZZ_SECONDS
# (default 120; 0: replay only) the fuzzing time.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
jobs=${TARVOLAN_JOBS:-2}
fuzz_seconds=${TARVOLAN_FUZZ_SECONDS:-120}
fuzz_seed=${TARVOLAN_FUZZ_SEED:-1}

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
# Qt and the system libraries keep some allocations to the end of the process.
export LSAN_OPTIONS=suppressions=$root/scripts/lsan.supp:print_suppressions=0

started=$SECONDS
elapsed() { echo "($((SECONDS - started)) s so far)"; }

echo "== sanitized build"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARVOLAN_SANITIZE=ON -DTARVOLAN_BENCH=OFF >/dev/null
cmake --build build-asan -j"$jobs"
elapsed

echo "== sanitized tests"
ctest --test-dir build-asan --output-on-failure -j"$jobs" --timeout 600
elapsed

echo "== fuzzing"
runtime=$(clang-14 -print-file-name=libclang_rt.fuzzer-x86_64.a)
if [ ! -f "$runtime" ]; then
  echo "The libFuzzer runtime of clang 14 is missing (package libclang-rt-14-dev)." >&2
  exit 1
fi
CC=clang-14 CXX=clang++-14 cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTARVOLAN_FUZZ=ON -DTARVOLAN_TESTS=OFF -DTARVOLAN_BENCH=OFF >/dev/null
cmake --build build-fuzz -j"$jobs" --target fuzz_host_messages fuzz_text_readers
elapsed

# fuzz TARGET CORPUS SECONDS ASAN_OPTIONS [libFuzzer options]: replays every
# input of CORPUS, then fuzzes from them for SECONDS (0: replay only) with the
# fixed seed. A finding is written to build-fuzz/findings/ and ends the job.
fuzz() {
  local target=$1 inputs=$2 seconds=$3 asan=$4
  shift 4
  local limit=(-runs=0)
  if [ "$seconds" -gt 0 ]; then limit=(-max_total_time="$seconds"); fi
  set +e
  ASAN_OPTIONS=$asan build-fuzz/bin/"$target" "$inputs" "${limit[@]}" -seed="$fuzz_seed" -print_final_stats=1 \
    -artifact_prefix="$root/build-fuzz/findings/" "$@" 2>&1 |
    grep -v -E '^#[0-9]+[[:space:]]+(NEW|REDUCE|pulse)|^\s+NEW_FUNC'
  local status=${PIPESTATUS[0]}
  set -e
  elapsed
  if [ "$status" -ne 0 ]; then
    echo "$target found a fault (exit $status); see build-fuzz/findings/" >&2
    exit "$status"
  fi
}

corpus=$(mktemp -d)
text_corpus=$(mktemp -d)
trap 'rm -rf "$corpus" "$text_corpus"' EXIT
cp -r fuzz/corpus/. "$corpus"
tar -C "$corpus" -xJf fuzz/grown-corpus.tar.xz
cp -r fuzz/text-corpus/. "$text_corpus"
mkdir -p build-fuzz/findings
# Leaks are checked once, when the run ends (LeakSanitizer at exit): a check
# after every input that leaves Qt's caches bigger costs more than the run.
# Allocation stacks off, no 4 KB fill of new blocks, a small quarantine of
# freed blocks (so that reused memory is still in the cache) and the plain
# power schedule instead of the entropic one: the target runs about twice as
# many inputs a second. Replay a finding with the defaults to see where its
# memory came from.
fuzz fuzz_host_messages "$corpus" "$fuzz_seconds" \
  "$ASAN_OPTIONS:malloc_context_size=0:max_malloc_fill_size=0:quarantine_size_mb=16" \
  -timeout=60 -entropic=0 -rss_limit_mb=4096 -detect_leaks=0
echo "== the module emptied between inputs as a fresh one"
seeds=$(mktemp -d)
cp -r fuzz/corpus/. "$seeds"
TARVOLAN_FUZZ_CHECK_RESET=1 fuzz fuzz_host_messages "$seeds" 0 \
  "$ASAN_OPTIONS:malloc_context_size=0:max_malloc_fill_size=0:quarantine_size_mb=16" -timeout=60 -detect_leaks=0
rm -rf "$seeds"
echo "== fuzzing the text readers"
# The readers below the windows on their own, for half the time of the
# module's target (leaks checked after every input: no Qt).
text_seconds=0
if [ "$fuzz_seconds" -gt 0 ]; then text_seconds=$((fuzz_seconds / 2 + 1)); fi
fuzz fuzz_text_readers "$text_corpus" "$text_seconds" "$ASAN_OPTIONS" -timeout=10
echo "sanitized tests and fuzzing: no finding"
