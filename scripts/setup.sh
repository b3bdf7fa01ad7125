#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need, only when one is missing.
set -euo pipefail
packages=(
    cmake ninja-build make git
    g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
    googletest
    wine wine64
    xvfb x11-utils imagemagick
    nsis wixl
    dpkg-dev
)
missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
