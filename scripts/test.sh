#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test through ctest.
#
#   scripts/test.sh              builds into build/
#   scripts/test.sh --sanitize   builds with AddressSanitizer and UndefinedBehaviorSanitizer into
#                                build-sanitize/ and runs the tests there; any finding fails them
set -euo pipefail
cd "$(dirname "$0")/.."

case "${1:-}" in
  "") ;;
  --sanitize) ;;
  *)
    echo "usage: scripts/test.sh [--sanitize]" >&2
    exit 2
    ;;
esac

scripts/install-deps.sh
# The independent checkers of generated pages, sitemaps and feeds (tests/tools): Node.js from
# Debian when there is none, then the locked npm packages; their install scripts are not run (the
# checker's would fetch a Java runtime; Debian's is used).
if ! command -v npm >/dev/null; then scripts/install-deps.sh nodejs npm; fi
npm ci --prefix tests/tools --ignore-scripts --no-audit --no-fund

# A crash in a test leaves its core dump behind, to be read rather than retried.
ulimit -c unlimited 2>/dev/null || true

if [ "${1:-}" = "--sanitize" ]; then
  sanitizers="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
  launcher=()
  if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
  cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS="$sanitizers" "${launcher[@]}"
  cmake --build build-sanitize
  # Debian's Qt WebEngine keeps memory for the life of the process, which the leak checker would
  # report in every test that starts the browser engine: the suppressions name the engine's own
  # libraries, so leaks anywhere else still fail a test. The engine's mismatched deletes cannot be
  # suppressed that way; the tests that start it turn that one check off themselves
  # (vendigo_starts_web_engine in tests/CMakeLists.txt). The table of suppressions used is not
  # printed, as it would land in the standard error that tests of a program compare whole; the
  # tests pass these settings on to the programs they start.
  export ASAN_OPTIONS="halt_on_error=1:detect_stack_use_after_return=1"
  export LSAN_OPTIONS="suppressions=$PWD/tests/support/leak-suppressions.txt:print_suppressions=0"
  export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
  ctest --test-dir build-sanitize --output-on-failure --parallel "$(nproc)"
  exit
fi

scripts/build.sh
ctest --test-dir build --output-on-failure --parallel "$(nproc)"
