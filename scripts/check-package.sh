#!/usr/bin/env bash
# Checks the Debian package as a user would get it: unpacks it into a scratch root and checks
# what it holds (the program, the help texts, the desktop entry and the metadata against their
# validators, every icon size), then starts the unpacked program offscreen on a folder of
# generated MP3 files and compares the files it listed with the folder.
#   check-package.sh <package.deb> <binary folder with samplegen>
set -euo pipefail
deb="$1"
bin="$2"
id=com.corvell.Tagwright

root="$(mktemp -d)"
trap 'rm -rf "$root"' EXIT
passed=0
failed=0
pass() { passed=$((passed + 1)); echo "ok: $*"; }
fail() { failed=$((failed + 1)); echo "FAILED: $*" >&2; }
check() {
    local what="$1"
    shift
    if "$@"; then pass "$what"; else fail "$what"; fi
}

# The control fields: the name, and dependencies computed from the program's libraries.
check "package name" test "$(dpkg-deb -f "$deb" Package)" = tagwright
check "section" test "$(dpkg-deb -f "$deb" Section)" = sound
check "dependencies on the Qt libraries" grep -q libqt6widgets6 <<<"$(dpkg-deb -f "$deb" Depends)"

dpkg -x "$deb" "$root/unpacked"
usr="$root/unpacked/usr"
check "program" test -x "$usr/bin/tagwright"
check "help texts" test -f "$usr/share/tagwright/VersionHistory.txt" -a \
    -f "$usr/share/tagwright/TermOfUse.txt"

desktop="$usr/share/applications/$id.desktop"
check "desktop entry is valid" desktop-file-validate "$desktop"
check "desktop entry starts the installed program" grep -qx "TryExec=/usr/bin/tagwright" "$desktop"
check "metadata is valid" appstreamcli validate --no-net "$usr/share/metainfo/$id.metainfo.xml"
# The tree as a software centre reads it: the metadata's launchable found among the entries.
check "metadata and desktop entry go together" appstreamcli validate-tree --no-net "$root/unpacked"
for entry in kio/servicemenus/$id.desktop nemo/actions/$id.nemo_action; do
    check "$entry names the installed program" grep -q "/usr/bin/tagwright" "$usr/share/$entry"
done

check "scalable icon" test -s "$usr/share/icons/hicolor/scalable/apps/$id.svg"
for size in 16 22 24 32 48 64 128 256; do
    png="$usr/share/icons/hicolor/${size}x${size}/apps/$id.png"
    check "icon ${size}x${size}" grep -q "PNG image data, $size x $size," <<<"$(file -b "$png" 2>&1)"
done

# The unpacked program, offscreen, with settings and runtime folders of its own, on generated
# files. The screenshot hook ends it once the window is painted; the list dump tells what it
# listed.
folder="$root/music"
"$bin/samplegen" "$folder" >/dev/null
mkdir -p "$root/config" "$root/runtime"
chmod 700 "$root/runtime"
if QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$root/config" XDG_RUNTIME_DIR="$root/runtime" \
    TAGWRIGHT_SCREENSHOT="$root/window.png" TAGWRIGHT_LIST_DUMP="$root/listed.txt" \
    timeout 120 "$usr/bin/tagwright" "$folder" >"$root/run.log" 2>&1; then
    pass "unpacked program runs"
else
    fail "unpacked program runs"
    cat "$root/run.log" >&2
fi
(cd "$folder" && find . -maxdepth 1 -name '*.mp3' | sed "s|^\./|$folder/|" | sort) >"$root/expected.txt"
sort "$root/listed.txt" >"$root/listed-sorted.txt" 2>/dev/null || true
check "unpacked program lists the generated files ($(wc -l <"$root/expected.txt"))" \
    cmp -s "$root/expected.txt" "$root/listed-sorted.txt"
check "unpacked program painted its window" test -s "$root/window.png"

echo "package: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
