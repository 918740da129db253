#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test headless; then runs the same
# tests again in the sanitizer build, and each fuzz target for a short while. Every
# stage runs even when an earlier one fails; the end names those that failed.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
scripts/build.sh

source scripts/test-env.sh
failed=()
(cd build && ctest --output-on-failure --no-tests=error -j"$(nproc)" --timeout 300) || failed+=("tests")
scripts/sanitize.sh || failed+=("sanitizer tests")
scripts/fuzz.sh -t 20 || failed+=("fuzz targets")

if [ ${#failed[@]} -gt 0 ]; then
  printf 'FAILED: %s\n' "${failed[@]}" >&2
  exit 1
fi
echo "All stages passed."
