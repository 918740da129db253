#!/usr/bin/env bash
# test.sh runs all three stages (tests, sanitizer tests, fuzz targets) even when the
# first fails, names each stage that failed at the end and exits non-zero. Run against
# stand-ins for the stages: test.sh [path of the test.sh to check].
set -euo pipefail
script=${1:-$(dirname "$0")/../../test.sh}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/scripts" "$work/build" "$work/bin"
cp "$script" "$work/test.sh"
stage() { printf '#!/usr/bin/env bash\ntouch "%s/ran-%s"\nexit %s\n' "$work" "$1" "$2" >"$3"; chmod +x "$3"; }
stage setup 0 "$work/scripts/setup.sh"
stage build 0 "$work/scripts/build.sh"
stage tests 1 "$work/bin/ctest"
stage sanitize 1 "$work/scripts/sanitize.sh"
stage fuzz 0 "$work/scripts/fuzz.sh"
: >"$work/scripts/test-env.sh"

status=0
PATH="$work/bin:$PATH" bash "$work/test.sh" >"$work/out" 2>&1 || status=$?
fail() { echo "test.sh: $1"; cat "$work/out"; exit 1; }
[ "$status" -ne 0 ] || fail "a failed stage gave exit 0"
for ran in tests sanitize fuzz; do [ -e "$work/ran-$ran" ] || fail "the $ran stage did not run"; done
grep -q '^FAILED: tests$' "$work/out" || fail "the failed tests stage is not named"
grep -q '^FAILED: sanitizer tests$' "$work/out" || fail "the failed sanitizer stage is not named"
! grep -q 'FAILED: fuzz' "$work/out" || fail "a stage that passed is named as failed"
echo "test.sh runs every stage and names those that failed"
