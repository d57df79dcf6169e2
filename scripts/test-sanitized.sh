#!/usr/bin/env bash
# Builds the core (no widgets) with AddressSanitizer and UBSan and runs its tests.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

build=${VELMORA_ASAN_BUILD_DIR:-build-asan}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DVELMORA_WERROR="${VELMORA_WERROR:-OFF}" -DVELMORA_SANITIZE=ON -DVELMORA_BUILD_GUI=OFF
cmake --build "$build"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir "$build" --output-on-failure --timeout 600 "$@"
