#!/usr/bin/env bash
# Runs every test in one CTest run: core (host), win (Windows side under Wine)
# and e2e (the real program driven from outside), on a virtual display with a
# throwaway Wine prefix. Extra arguments go to ctest (for instance -L core).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh

source scripts/wine-env.sh
# A fresh environment per run, so that two runs at once never share a prefix.
env_dir=$(mktemp -d /tmp/ravelind-test.XXXXXX)
RAVELIND_OWN_DISPLAY=1 wine_env_start "$env_dir"
trap 'wine_env_stop; rm -rf "$env_dir"' EXIT
ctest --test-dir build/native --output-on-failure -j2 "$@"
