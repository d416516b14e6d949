#!/usr/bin/env bash
# Fuzzes Vendigo: installs what is missing (clang and its libFuzzer runtime too), builds the fuzz
# targets of fuzz/ with clang, libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer into
# build-fuzz/, and runs each for SECONDS (default 60), starting from its inputs in
# fuzz/corpus/<target>/. Prints the runs of each target. Exits 1 when a target found a fault: the
# input that found it is in build-fuzz/findings/<target>/; put it into fuzz/corpus/<target>/ as
# fault-<what> once the fault is mended, so every test run replays it.
#
#   scripts/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
targets=(cli_input product_page profile editor_store document_encoding cart_request page_check
  fragment_reading)

scripts/install-deps.sh clang libclang-rt-14-dev

launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVENDIGO_FUZZ=ON -DBUILD_TESTING=OFF "${launcher[@]}"
cmake --build build-fuzz --target "${targets[@]/%/_fuzzer}"

found=0
summary=()
for target in "${targets[@]}"; do
  corpus="build-fuzz/corpus/$target"
  findings="build-fuzz/findings/$target"
  mkdir -p "$corpus" "$findings"
  cp -n "fuzz/corpus/$target"/* "$corpus"/
  dictionary=()
  if [ -f "fuzz/$target.dict" ]; then dictionary=(-dict="fuzz/$target.dict"); fi
  log="build-fuzz/$target.log"
  echo "Fuzzing $target for $seconds s"
  status=0
  "build-fuzz/fuzz/${target}_fuzzer" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$findings/" "${dictionary[@]}" "$corpus" >"$log" 2>&1 || status=$?
  runs=$(awk '/stat::number_of_executed_units/ {print $2}' "$log" | tail -1)
  if [ "$status" -ne 0 ]; then
    found=1
    summary+=("$target: ${runs:-?} runs, FOUND A FAULT (see $log and $findings/)")
  else
    summary+=("$target: ${runs:-?} runs, no finding")
  fi
done
printf '%s\n' "${summary[@]}"
exit "$found"
