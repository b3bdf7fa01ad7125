#!/usr/bin/env bash
# The release as a Windows user gets it: packs it with scripts/make-dist.sh from the builds
# under BUILD, then opens the zip and checks its files, that both programs are Windows programs
# of the right machine type carrying the version resource of the configured version, and that
# one of its programs (x64/Twk.exe unless named) starts under Wine, shows its main window,
# opens its help on F1 and ends when it is closed. RUNNER runs the Windows programs (default:
# scripts/wine-run.sh), WAIT is how long each step of the window check may take.
# Usage: check-dist.sh BUILD WINDOW_CHECK_EXE [PROGRAM_IN_ZIP WAIT RUNNER...] (WINEPREFIX set).
# Exit 77: no i686 build to pack, or no window check program.
set -euo pipefail
build=$(cd "$1" && pwd)
window_check=$2
program=${3:-x64/Twk.exe}
wait=${4:-30}
shift $(($# < 4 ? $# : 4))
here=$(cd "$(dirname "$0")/../.." && pwd)
runner=("${@:-$here/scripts/wine-run.sh}")
[ -f "$window_check" ] || { echo "no window check program $window_check: build the x86_64 target"; exit 77; }
[ -f "$build/i686/Twk.exe" ] || { echo "no i686 build in $build: ./twk test builds both targets"; exit 77; }

zip=$("$here/scripts/make-dist.sh" "$build")
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/i686/CMakeCache.txt")
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }

[ "$(basename "$zip")" = "Tarnwick-$version.zip" ] || fail "zip named $(basename "$zip")"
expected=$(printf '%s\n' Licence.txt ReadMe.txt Twk.chm Twk.cnt Twk.exe Twk.hlp x64/ x64/Twk.exe)
listed=$(unzip -Z1 "$zip" | sort)
[ "$listed" = "$expected" ] || fail "zip holds: $(echo $listed)"

unpacked=$(mktemp -d "$build/dist-check.XXXXXX")
trap 'rm -rf "$unpacked"' EXIT
unzip -q "$zip" -d "$unpacked"

# Machine type from the PE header; the fixed part of the version resource (VS_FIXEDFILEINFO,
# signature 0xFEEF04BD) and the FileVersion string.
check_program() {  # file machine
    perl -e '
        my ($file, $machine, $version) = @ARGV;
        open(my $in, "<:raw", $file) or die "$file: $!\n";
        my $data = do { local $/; <$in> };
        my $pe = unpack("V", substr($data, 0x3C, 4));
        die "$file: not a PE file\n" unless substr($data, $pe, 4) eq "PE\0\0";
        my $found = unpack("v", substr($data, $pe + 4, 2));
        die sprintf("%s: machine 0x%04x, not 0x%04x\n", $file, $found, hex($machine)) unless $found == hex($machine);
        my $fixed = index($data, pack("V", 0xFEEF04BD));
        die "$file: no version resource\n" if $fixed < 0;
        my ($ms, $ls) = unpack("V V", substr($data, $fixed + 8, 8));
        my $numbers = join(".", $ms >> 16, $ms & 0xFFFF, $ls >> 16, $ls & 0xFFFF);
        die "$file: file version $numbers, not $version\n" unless $numbers eq $version;
        my $text = join("", map { "$_\0" } split(//, "FileVersion")) . "\0\0";
        my $at = index($data, $text, $fixed);
        die "$file: no FileVersion string\n" if $at < 0;
        my $value = substr($data, $at + length($text), 2 * length($version) + 8);
        $value =~ s/^(\0\0)+//;
        die "$file: FileVersion is not $version\n" unless substr($value, 0, 2 * length($version)) eq join("", map { "$_\0" } split(//, $version));
    ' "$1" "$2" "$version" || fail "$1"
}
check_program "$unpacked/Twk.exe" 0x014C
check_program "$unpacked/x64/Twk.exe" 0x8664

for text in ReadMe.txt Licence.txt; do
    grep -q $'\r$' "$unpacked/$text" || fail "$text has no CRLF line ends"
done
grep -q "Tarnwick $version" "$unpacked/ReadMe.txt" || fail "ReadMe.txt does not name version $version"
grep -q "Twk.chm" "$unpacked/ReadMe.txt" || fail "ReadMe.txt does not point to Twk.chm"
grep -q "Unblock" "$unpacked/ReadMe.txt" || fail "ReadMe.txt does not tell how to unblock a downloaded Twk.chm"

# The program where it was unpacked: its main window, then F1 there and HTML Help's window on
# the help's title, then the program closed.
"${runner[@]}" "$window_check" "--wait=$wait" "Z:${unpacked//\//\\}\\${program//\//\\}" TwkForm Tarnwick \
    "HH Parent" "Tarnwick Help" || fail "$program: its window and its help"

[ $failures -eq 0 ] && echo "release $(basename "$zip") checked"
exit $((failures > 0))
