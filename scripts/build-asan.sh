#!/usr/bin/env bash
# Configures and builds the sanitizer build in build-asan/: clang with AddressSanitizer and
# UndefinedBehaviorSanitizer, and the fuzz targets. Builds the targets named, or everything.
set -euo pipefail
cd "$(dirname "$0")/.."
generator=()
command -v ninja >/dev/null && generator=(-G Ninja)
command -v ccache >/dev/null && generator+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
[ -f build-asan/CMakeCache.txt ] || cmake -S . -B build-asan "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DPELLORAN_SANITIZE=ON -DPELLORAN_FUZZ=ON
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build build-asan -j"${PELLORAN_JOBS:-$(nproc)}" "${targets[@]}"
