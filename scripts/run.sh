#!/usr/bin/env bash
# Starts the program from the given binary folder.
set -euo pipefail
bin="$1"
if [ -x "$bin/Tagwright" ]; then
    exec "$bin/Tagwright" "${@:2}"
fi
echo "Tagwright's window is not built yet: it arrives with the main window."
echo "The tag library and its tools are built in $bin (for example $bin/tagdump)."
