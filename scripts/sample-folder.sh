#!/usr/bin/env bash
# Makes the sample folder of `make run` once: short MP3 files with a variety of tags, written by
# the project's own samplegen tool. Prints the folder.
set -euo pipefail
bin="$1"
folder="$2"
if [ ! -f "$folder/.complete" ]; then
    rm -rf "$folder"
    "$bin/samplegen" "$folder"
    touch "$folder/.complete"
fi
echo "$folder"
