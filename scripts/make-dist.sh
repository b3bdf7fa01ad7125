#!/usr/bin/env bash
# Packs the release from the built i686 and x86_64 folders under BUILD and prints the zip's path:
#   BUILD/Tarnwick-<version>.zip holding Twk.exe (32-bit), x64/Twk.exe, Twk.hlp, Twk.cnt,
#   Twk.chm, ReadMe.txt and Licence.txt. The version is the one CMake configured both builds
#   with (project VERSION in CMakeLists.txt).
# Usage: scripts/make-dist.sh BUILD
set -euo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")/.." && pwd)

version_of() { sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/$1/CMakeCache.txt" 2>/dev/null; }
version=$(version_of i686)
[ -n "$version" ] || { echo "make-dist: no configured i686 build in $build"; exit 1; }
[ "$(version_of x86_64)" = "$version" ] || { echo "make-dist: the i686 and x86_64 builds differ in version"; exit 1; }
for file in i686/Twk.exe i686/Twk.hlp i686/Twk.cnt i686/Twk.chm x86_64/Twk.exe; do
    [ -f "$build/$file" ] || { echo "make-dist: $build/$file is missing; build both targets first"; exit 1; }
done

stage=$(mktemp -d "$build/.dist.XXXXXX")
trap 'rm -rf "$stage"' EXIT
mkdir "$stage/x64"
cp "$build/i686/Twk.exe" "$build/i686/Twk.hlp" "$build/i686/Twk.cnt" "$build/i686/Twk.chm" "$stage/"
cp "$build/x86_64/Twk.exe" "$stage/x64/"
# The texts are for Windows: CRLF line ends.
sed -e "s/@TWK_VERSION@/$version/" -e 's/$/\r/' "$here/dist/ReadMe.txt" >"$stage/ReadMe.txt"
sed -e 's/$/\r/' "$here/dist/Licence.txt" >"$stage/Licence.txt"

zip="$build/Tarnwick-$version.zip"
rm -f "$zip"
(cd "$stage" && zip -q -X -r "$zip" Twk.exe x64 Twk.hlp Twk.cnt Twk.chm ReadMe.txt Licence.txt)
echo "$zip"
