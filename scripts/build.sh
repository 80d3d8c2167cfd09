#!/usr/bin/env bash
# Configures and builds one build directory: build.sh DIR [extra cmake options...]
set -euo pipefail
cd "$(dirname "$0")/.."
dir=$1
shift
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DREVMGR_WERROR=ON "$@" >/dev/null
cmake --build "$dir"
