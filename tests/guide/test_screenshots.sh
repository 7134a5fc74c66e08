#!/bin/bash
# Takes the guide's pictures again, in every language the committed ones are
# in, and compares them with the committed ones.
# usage: test_screenshots.sh <guideshots> <comparescreenshots> <committed folder> <work folder>
set -euo pipefail
shots="$1"
compare="$2"
committed="$3"
work="$4"
rm -rf "$work"
mkdir -p "$work/fresh"
for folder in "$committed"/*/; do
    language=$(basename "$folder")
    "$shots" "$language" "$work/fresh/$language"
done
"$compare" "$committed" "$work/fresh" "$work/diff"
