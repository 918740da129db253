#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test headless; then runs the same
# tests again in the sanitizer build, and each fuzz target for a short while.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
scripts/build.sh

source scripts/test-env.sh
(cd build && ctest --output-on-failure --no-tests=error -j"$(nproc)" --timeout 300)

scripts/sanitize.sh
scripts/fuzz.sh -t 20
