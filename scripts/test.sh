#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test under Wine (headless, private prefix).
# Extra arguments go to ctest, e.g. scripts/test.sh -L unit  or  scripts/test.sh -R ControlPolicy
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/host-setup.sh"
cmake -S "$root" -B "$root/build" -G Ninja >/dev/null
cmake --build "$root/build"
cd "$root/build"
ctest -j2 --output-on-failure "$@"
