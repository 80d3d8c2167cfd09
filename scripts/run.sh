#!/usr/bin/env bash
# Builds the product and says what it built.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build
echo "built:"
find build/lib build/bin -maxdepth 1 -type f \( -name '*.so' -o -perm -u+x \) -printf '  %p\n' | sort
