#!/usr/bin/env bash
# Builds LinkTrawl and runs its main job unattended: a search of the bundled samples/ folder
# whose results are saved as a text file.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh >/dev/null
out=${1:-$PWD/build/samples-results.txt}
build/linktrawl "$PWD/samples" -save2 "$out"
echo "Results of the search of samples/ were saved to $out"
