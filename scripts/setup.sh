#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need, only when one is missing.
set -euo pipefail
packages=(
    cmake ninja-build make git
    g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
    googletest
    wine wine64
    xvfb x11-utils imagemagick fonts-dejavu-core fonts-wqy-microhei
    halibut zip unzip
    nsis wixl
    dpkg-dev
    locales
    qemu-user-static debootstrap
)
missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done

sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo

# scripts/fetch-libjpeg.sh uses apt-get source, which needs source entries beside the binary ones.
sources_changed=no
deb822=/etc/apt/sources.list.d/debian.sources
if [ -f "$deb822" ] && grep -Eq '^Types:[[:space:]]*deb[[:space:]]*$' "$deb822"; then
    echo "Enabling deb-src in $deb822"
    $sudo sed -i -E 's/^Types:[[:space:]]*deb[[:space:]]*$/Types: deb deb-src/' "$deb822"
    sources_changed=yes
fi
classic=/etc/apt/sources.list
if [ -f "$classic" ]; then
    src_lines=()
    while IFS= read -r line; do
        grep -qxF "$line" "$classic" || src_lines+=("$line")
    done < <(sed -n -E 's/^deb([[:space:]])/deb-src\1/p' "$classic")
    if [ ${#src_lines[@]} -gt 0 ]; then
        echo "Adding deb-src lines to $classic"
        printf '%s\n' "${src_lines[@]}" | $sudo tee -a "$classic" >/dev/null
        sources_changed=yes
    fi
fi

if [ ${#missing[@]} -gt 0 ] || [ "$sources_changed" = yes ]; then
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -qq
    if [ ${#missing[@]} -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
    fi
fi

# The code page 932 tests (twk_cp932_tests) run Wine under a Japanese locale, from which Wine
# takes its ANSI code page; without the locale they would run in the Western one.
if ! locale -a 2>/dev/null | grep -qix 'ja_JP\.utf-\?8'; then
    echo "Generating the ja_JP.UTF-8 locale"
    grep -qx 'ja_JP.UTF-8 UTF-8' /etc/locale.gen ||
        $sudo sed -i -E 's/^#[[:space:]]*(ja_JP\.UTF-8 UTF-8)[[:space:]]*$/\1/' /etc/locale.gen
    grep -qx 'ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
    $sudo locale-gen >/dev/null
fi
