#!/usr/bin/env bash
# Installs what is missing, builds, and starts the player.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
scripts/build.sh
if [ ! -x build/bin/Tavrin ]; then
  echo "The player Tavrin is not built yet; the other programs are in build/bin/." >&2
  exit 1
fi
exec build/bin/Tavrin
