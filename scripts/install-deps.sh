#!/bin/sh
# Installs the Debian packages that building, running and testing need, when missing.
set -eu

PACKAGES="build-essential cmake make qt6-base-dev qt6-serialport-dev qt6-svg-dev \
libqt6sql6-sqlite libemf2svg-dev libuemf-dev libgtest-dev libgmock-dev libbenchmark-dev \
libsqlite3-dev sqlite3 mdbtools xvfb xauth clang libclang-rt-14-dev locales strace"

missing=""
for package in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $package"
    fi
done
[ -z "$missing" ] && exit 0

# Root installs directly; anyone else goes through sudo, only when something is missing.
as_root=""
if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null 2>&1; then
        echo "Missing packages:$missing" >&2
        echo "Run this as root to install them." >&2
        exit 1
    fi
    as_root="sudo"
fi
echo "Installing:$missing"
$as_root apt-get update -qq
$as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $missing
