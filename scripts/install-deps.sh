#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need; only what is missing.
set -euo pipefail

packages=(
    g++ cmake ninja-build make
    libgtest-dev libgmock-dev
    # The window: Qt 6 Widgets, its image plugins, and a virtual display for screenshots.
    qt6-base-dev qt6-base-dev-tools libqt6test6 qt6-image-formats-plugins qt6-qpa-plugins
    libgl-dev xvfb xauth
    # Independent tag readers and writers the interop suite checks against.
    python3-mutagen eyed3 id3v2 kid3-cli ffmpeg lame sox
    # The Windows build: the mingw-w64 cross compiler, GoogleTest sources to build with it, and
    # Wine to run its tests.
    g++-mingw-w64-x86-64-posix googletest wine64
    # The fuzz targets: clang with libFuzzer and the sanitizer runtimes.
    clang libclang-rt-dev
    # The package: the icon's bitmaps rendered from its drawing, the Debian package with its
    # dependencies computed from the program, and the validators of the desktop entry and the
    # metadata.
    librsvg2-bin dpkg-dev file desktop-file-utils appstream
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing missing packages: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
    SUDO="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
