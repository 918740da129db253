#!/usr/bin/env bash
# Configures and builds the suite into build/.
set -euo pipefail
cd "$(dirname "$0")/.."
generator=()
command -v ninja >/dev/null && generator=(-G Ninja)
# A compiler cache, where one is installed, makes rebuilds in other work trees cheap.
command -v ccache >/dev/null && generator+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
[ -f build/CMakeCache.txt ] || cmake -S . -B build "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"
