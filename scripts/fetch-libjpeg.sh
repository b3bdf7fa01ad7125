#!/usr/bin/env bash
# Unpacks Debian's libjpeg-turbo source package as FOLDER/libjpeg-turbo (default build/third_party),
# only when it is not there yet. Needs deb-src entries (scripts/setup.sh) but no root.
#   scripts/fetch-libjpeg.sh [FOLDER]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
folder="${1:-$here/build/third_party}"
target="$folder/libjpeg-turbo"
[ -f "$target/jpeglib.h" ] && exit 0

mkdir -p "$folder"
work=$(mktemp -d "$folder/.fetch.XXXXXX")
trap 'rm -rf "$work"' EXIT
# apt downloads as its own unprivileged user when it runs as root: let that user into the folder.
chmod 0777 "$work"
echo "Fetching the libjpeg-turbo source package into $folder"
(cd "$work" && apt-get source --download-only -qq libjpeg-turbo)
# apt has checked the files against the signed archive index; the uploader key is not installed.
dpkg-source --no-check -x "$work"/libjpeg-turbo_*.dsc "$work/libjpeg-turbo" >/dev/null
mv "$work/libjpeg-turbo" "$target"
