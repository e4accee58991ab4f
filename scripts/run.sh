#!/usr/bin/env bash
# Sets everything up, builds Brumo and runs its main job.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh build
exec build/brumo "$@"
