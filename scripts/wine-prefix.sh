#!/usr/bin/env bash
# Creates a Wine prefix for Tarnwick once (a stamp file marks it ready).
#   wine-prefix.sh test DIR   headless: null graphics driver
#   wine-prefix.sh demo DIR   normal graphics driver, for a real window or a screenshot
# Both: no Mono/Gecko prompts, no crash debugger (one crash must not hang a run), and a CD-ROM
# drive E: with no disk inserted (a dangling dosdevices link marked as cdrom). The demo prefix
# also links the window fonts to a Chinese font of the system (fonts-wqy-microhei), so that
# names in Chinese or Japanese show as text rather than boxes.
# TWK_WINE names the loader (wine64 runs the setup natively in a WoW64 chroot) and
# TWK_PREFIX_TIMEOUT the seconds wineboot may take (a WoW64 prefix takes minutes under emulation).
set -eu
wine=${TWK_WINE:-wine}
kind=$1 prefix=$2
stamp="$prefix/.twk-$kind-ready"
[ -f "$stamp" ] && exit 0

export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$prefix"
log="$prefix/setup.log"
timeout "${TWK_PREFIX_TIMEOUT:-300}" "$wine" wineboot -i </dev/null >"$log" 2>&1 || { echo "wineboot failed, see $log"; exit 1; }

reg="$prefix/twk-setup.reg"
{
  echo 'REGEDIT4'
  echo
  echo '[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\AeDebug]'
  echo '"Debugger"=""'
  echo '"Auto"="0"'
  echo
  echo '[HKEY_LOCAL_MACHINE\Software\Wine\Drives]'
  echo '"e:"="cdrom"'
  if [ "$kind" = test ]; then
    echo
    echo '[HKEY_CURRENT_USER\Software\Wine\Drivers]'
    echo '"Graphics"="null"'
  else
    # REG_MULTI_SZ in REGEDIT4's hex(7) form: the text, its null and the list's final null.
    link=$(printf 'wqy-microhei.ttc,WenQuanYi Micro Hei' | od -An -v -tx1 | tr -s ' \n' ',' | sed -e 's/^,//' -e 's/,$/,00,00/')
    echo
    echo '[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink]'
    for face in 'MS Sans Serif' 'Microsoft Sans Serif' 'Tahoma' 'MS Shell Dlg' 'MS Shell Dlg 2'; do
      echo "\"$face\"=hex(7):$link"
    done
  fi
} >"$reg"
timeout 300 "$wine" regedit /S "Z:${reg//\//\\}" </dev/null >>"$log" 2>&1
ln -sfn /nonexistent/twk-no-disk "$prefix/dosdevices/e:"
timeout 30 wineserver -k </dev/null >/dev/null 2>&1 || true
timeout 30 wineserver -w </dev/null >/dev/null 2>&1 || true
touch "$stamp"
