#!/usr/bin/env bash
# Starts Tagwright from the given binary folder on the sample folder (made on first run). Without
# a display it runs on a virtual one, saves a screenshot of the window and ends.
set -euo pipefail
bin="$1"
shift
build="$(cd "$bin/.." && pwd)"
sample="$("$(dirname "$0")/sample-folder.sh" "$bin" "$build/sample")"

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec "$bin/Tagwright" "${@:-$sample}"
fi

if ! command -v xvfb-run >/dev/null; then
    echo "No display and no xvfb-run: install Xvfb (make deps) or run with a display." >&2
    exit 1
fi
shot="$build/screenshot.png"
# A settings and runtime folder of its own, so the picture does not depend on earlier runs.
state="$build/run-state"
rm -rf "$state"
mkdir -p "$state/config" "$state/runtime"
chmod 700 "$state/runtime"
rm -f "$shot"
XDG_CONFIG_HOME="$state/config" XDG_RUNTIME_DIR="$state/runtime" \
    TAGWRIGHT_SCREENSHOT="$shot" \
    xvfb-run -a -s "-screen 0 1280x800x24" "$bin/Tagwright" "${@:-$sample}"
if [ ! -f "$shot" ]; then
    echo "Tagwright ended without a screenshot." >&2
    exit 1
fi
echo "Screenshot of the window: $shot"
