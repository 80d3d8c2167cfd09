#!/usr/bin/env bash
# Builds the product, creates and fills a demo project in a product home of its own, and lists
# the project's plane panels through the component, as a host would.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build
export REVMGR_HOME=${REVMGR_HOME:-$PWD/build/demo-home}
revmgr=build/bin/revmgr
$revmgr register
$revmgr init DEMO --mode extended
$revmgr grant DEMO "$(id -un)" mor.revisionmgmnt
$revmgr generate DEMO --revisions 20000 --seed 1
$revmgr list --project DEMO --type "Plane panels" | head -n 25
echo "(product home: $REVMGR_HOME; try: $revmgr --help)"
