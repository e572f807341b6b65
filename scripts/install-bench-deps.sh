#!/usr/bin/env bash
# Installs the Debian packages the benchmarks need besides the build's own; only what is
# missing. TagLib is the reference the record benchmark measures against; it is linked into
# the benchmark alone, never into the program.
set -euo pipefail

packages=(
    libtag1-dev pkg-config
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
