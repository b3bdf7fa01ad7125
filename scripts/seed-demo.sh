#!/usr/bin/env bash
# Seeds a demo Wine prefix with a dozen realistic Uninstall entries: MSI product codes,
# installer uninstallers that exist (quoted and unquoted paths with spaces), ones that are
# gone, one on the CD-ROM drive E: with no disk, a RunDll32 line, a batch file, entries
# without UninstallString or DisplayName, an empty key, REG_DWORD and REG_EXPAND_SZ values, two
# entries whose names are in other scripts (Cyrillic, Chinese); and a few entries of 32-bit
# programs (the 32-bit registry view) and of the current user's programs.
set -eu
prefix=$1
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
drive_c="$prefix/drive_c"

# Uninstallers that exist: copies of a real Windows program from the prefix.
for dir in "Program Files/Northwind Notes" "Program Files/Pixel Forge" "Program Files (x86)/Harbor Sync"; do
    mkdir -p "$drive_c/$dir"
done
cp "$drive_c/windows/notepad.exe" "$drive_c/Program Files/Northwind Notes/unins000.exe"
cp "$drive_c/windows/notepad.exe" "$drive_c/Program Files/Pixel Forge/uninstall.exe"
cp "$drive_c/windows/notepad.exe" "$drive_c/Program Files (x86)/Harbor Sync/HSUninst.exe"
mkdir -p "$drive_c/users/Public/Cobalt Studio"
cp "$drive_c/windows/notepad.exe" "$drive_c/users/Public/Cobalt Studio/Uninstall.exe"
mkdir -p "$drive_c/Tools/Script Runner"
printf '@echo off\r\necho Script Runner removed\r\n' >"$drive_c/Tools/Script Runner/uninstall.bat"

# REGEDIT4 hex(2) form of a REG_EXPAND_SZ string (bytes plus the terminating null).
expand_sz() { printf '%s' "$1" | od -An -v -tx1 | tr -s ' \n' ',' | sed -e 's/^,//' -e 's/,$/,00/'; }

u='HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall'
# A 64-bit process sees the 32-bit view of HKLM\Software as its WOW6432Node subkey.
u32='HKEY_LOCAL_MACHINE\Software\WOW6432Node\Microsoft\Windows\CurrentVersion\Uninstall'
uu='HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Uninstall'
reg="$prefix/twk-demo.reg"
cat >"$reg" <<REG
REGEDIT4

[$u\\{3F2B8C41-7D5E-4A9B-B1C6-2E8F0D4A7C13}]
"DisplayName"="Harbor Maps 2.4"
"DisplayVersion"="2.4.1187"
"Publisher"="Harbor Cartography"
"UninstallString"="MsiExec.exe /X{3F2B8C41-7D5E-4A9B-B1C6-2E8F0D4A7C13}"
"InstallLocation"="C:\\\\Program Files\\\\Harbor Maps\\\\"

[$u\\{9A0C6E52-1B3D-4F87-8E29-C4D5B6A70F81}]
"DisplayName"="Lumen Runtime Libraries (x64)"
"DisplayVersion"="14.2.31"
"UninstallString"="MsiExec.exe /I{9A0C6E52-1B3D-4F87-8E29-C4D5B6A70F81}"
"ModifyPath"="MsiExec.exe /I{9A0C6E52-1B3D-4F87-8E29-C4D5B6A70F81}"

[$u\\Northwind Notes_is1]
"DisplayName"="Northwind Notes 5.0"
"DisplayVersion"="5.0.2"
"Publisher"="Northwind Software"
"UninstallString"="\\"C:\\\\Program Files\\\\Northwind Notes\\\\unins000.exe\\""
"QuietUninstallString"="\\"C:\\\\Program Files\\\\Northwind Notes\\\\unins000.exe\\" /SILENT"
"URLInfoAbout"="https://northwind.example/notes"

[$u\\PixelForge]
"DisplayName"="Pixel Forge"
"UninstallString"="C:\\\\Program Files\\\\Pixel Forge\\\\uninstall.exe /S"
"DisplayIcon"=hex(2):$(expand_sz '%ProgramFiles%\Pixel Forge\forge.exe,0')

[$u\\Harbor Sync]
"DisplayName"="Harbor Sync Client"
"UninstallString"="\\"C:\\\\Program Files (x86)\\\\Harbor Sync\\\\HSUninst.exe\\" /mode=remove /log \\"C:\\\\Temp\\\\hs.log\\""

[$u\\OldScanner]
"DisplayName"="Old Scanner Tools 1.2"
"UninstallString"="C:\\\\Program Files\\\\Old Scanner\\\\remove.exe -uninstall"

[$u\\AtlasDemo]
"DisplayName"="Atlas Game Demo (run from CD)"
"UninstallString"="E:\\\\SETUP\\\\UNINST.EXE /u"

[$u\\CodecPack]
"DisplayName"="Legacy Codec Pack"
"UninstallString"="RunDll32 advpack.dll,LaunchINFSection C:\\\\windows\\\\INF\\\\codecs.inf,DefaultUninstall"

[$u\\ScriptRunner]
"DisplayName"="Script Runner"
"UninstallString"="C:\\\\Tools\\\\Script Runner\\\\uninstall.bat"

[$u\\KB4023057]
"DisplayName"="Update for Harbor Maps (KB4023057)"
"ParentKeyName"="{3F2B8C41-7D5E-4A9B-B1C6-2E8F0D4A7C13}"

[$u\\{C7E1D2F3-0A4B-4C5D-9E6F-708192A3B4C5}]
"UninstallString"="MsiExec.exe /X{C7E1D2F3-0A4B-4C5D-9E6F-708192A3B4C5}"

[$u\\Tiny Tools]
"DisplayName"="Tiny Tools"
"UninstallString"=hex(2):$(expand_sz '%ProgramFiles%\Tiny Tools\uninst.exe')

[$u\\Sized Entry]
"DisplayName"="Sized Entry"
"UninstallString"="C:\\\\windows\\\\notepad.exe"
"EstimatedSize"=dword:00000c80

[$u\\LeftoverKey]

[$u32\\Harbor Sync]
"DisplayName"="Harbor Sync Client (32-bit helper)"
"UninstallString"="\\"C:\\\\Program Files (x86)\\\\Harbor Sync\\\\HSUninst.exe\\" /helper"

[$u32\\{5D1E7A20-6C3B-4E9F-A8D4-1F2B3C4D5E6F}]
"DisplayName"="Lumen Runtime Libraries (x86)"
"DisplayVersion"="14.2.31"
"UninstallString"="MsiExec.exe /X{5D1E7A20-6C3B-4E9F-A8D4-1F2B3C4D5E6F}"

[$uu\\Cobalt Studio]
"DisplayName"="Cobalt Studio (this user)"
"UninstallString"="\\"C:\\\\users\\\\Public\\\\Cobalt Studio\\\\Uninstall.exe\\""

[$uu\\Meridian Player]
"DisplayName"="Meridian Player"
REG
timeout 120 wine regedit /S "Z:${reg//\//\\}" </dev/null >"$prefix/seed.log" 2>&1

# A REGEDIT4 file is read in the prefix's ANSI code page, which holds neither script: these
# come from the UTF-8 command line instead.
add_value() {  # key name data
    LC_ALL=C.UTF-8 timeout 60 wine reg add "$u\\$1" /v "$2" /t REG_SZ /d "$3" /f </dev/null >>"$prefix/seed.log" 2>&1
}
add_value 'Фоторедактор' DisplayName 'Фоторедактор 2.0'
add_value 'Фоторедактор' Publisher 'Студия «Пиксель»'
add_value '图像查看器' Publisher '像素工作室'
add_value '图像查看器' InstallLocation 'C:\Program Files\图像查看器'
timeout 30 wineserver -k </dev/null >/dev/null 2>&1 || true
