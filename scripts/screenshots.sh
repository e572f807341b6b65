#!/usr/bin/env bash
# Takes the README's pictures of the real program, offscreen, on the sample folder: the file
# list, the single-file tag editor, the multi-file tag editor and the rename confirmation. The
# dialogs are opened through the program's own commands (Edit Tag, the first rename preset) and
# cancelled, so the sample files stay as they are.
#   screenshots.sh <binary folder> <folder for the pictures>
set -euo pipefail
bin="$1"
out="$2"
# A fresh sample folder under a short temporary path, so that every picture shows the same
# files; they get one fixed date.
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
sample="$scratch/Music"
"$bin/samplegen" "$sample"
touch -d "2026-12-01 09:30" "$sample"/*.mp3
mkdir -p "$out"

# One picture: the target, then the dialog's name and rows (none for the window).
shoot() {
    local target="$1" dialog="${2:-}" rows="${3:-}"
    # Settings and runtime folders of its own, so no earlier run changes the picture.
    local state="$scratch/state"
    rm -rf "$state"
    mkdir -p "$state/config" "$state/runtime"
    chmod 700 "$state/runtime"
    rm -f "$target"
    QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$state/config" XDG_RUNTIME_DIR="$state/runtime" \
        TAGWRIGHT_SCREENSHOT="$target" TAGWRIGHT_SCREENSHOT_DIALOG="$dialog" \
        TAGWRIGHT_SCREENSHOT_ROWS="$rows" timeout 120 "$bin/Tagwright" "$sample" || true
    if [ ! -s "$target" ]; then
        echo "No picture was taken for $target." >&2
        exit 1
    fi
    echo "$target"
}

# The list is sorted by name: row 3 is "Allegro in D.mp3", rows 0 to 2 are one album, row 8 has
# no tag (its new name lacks the title).
shoot "$out/file-list.png"
shoot "$out/tag-editor.png" edit-tag 3
shoot "$out/multi-tag-editor.png" edit-tag 0,1,2
shoot "$out/confirm-rename.png" rename 0,1,2,6,7,8
