#!/usr/bin/env bash
# Builds the catalogue reader's fuzz target with clang (libFuzzer, ASan, UBSan) and runs it for
# a bounded time (VELMORA_FUZZ_SECONDS, 60 by default). Findings land in
# build-fuzz/tests/fuzz/run/artifacts/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

build=${VELMORA_FUZZ_BUILD_DIR:-build-fuzz}
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVELMORA_WERROR="${VELMORA_WERROR:-OFF}" -DVELMORA_BUILD_GUI=OFF -DVELMORA_FUZZ=ON \
  -DVELMORA_FUZZ_SECONDS="${VELMORA_FUZZ_SECONDS:-60}"
cmake --build "$build" --target fuzz_catalogue fuzz_seeds
ctest --test-dir "$build" -L fuzz --output-on-failure
