#!/usr/bin/env bash
# windows_installer_test.sh BUILD_DIR VERSION: in a fresh wine prefix, the
# installer runs silently, installs for the user alone (program folder,
# Start-menu shortcut, entry in the installed programs), the installed
# seeker.exe runs, and the uninstaller removes all of it but the user's
# sites.conf. The portable zip holds the same program and the readme.
set -euo pipefail
build=$1 version=$2
setup=$build/seeker-$version-setup.exe
zip=$build/seeker-$version-portable.zip
# A prefix of its own in the build tree, made afresh: the other tests' shared
# prefix never sees the installer.
work=$build/windows_installer_test
rm -rf "$work"
mkdir -p "$work"
export WINEPREFIX=$work/prefix WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

wineboot -i >/dev/null 2>&1
wineserver -w
# A folder of the prefix's user, as a Unix path.
folder() { winepath -u "$(wine cmd /c echo "%$1%" 2>/dev/null | tr -d '\r')"; }
local_data=$(folder LOCALAPPDATA)
app_data=$(folder APPDATA)
program_dir=$local_data/Programs/Seeker
shortcut="$app_data/Microsoft/Windows/Start Menu/Programs/Seeker.lnk"
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Seeker'

# Per user: the installer asks Windows for no elevation.
grep -aq 'level="asInvoker"' "$setup" || fail "the installer's manifest does not ask for asInvoker"

wine "$setup" /S || fail "setup.exe /S exited with $?"
wineserver -w
for file in seeker.exe README.txt uninstall.exe; do
  [ -f "$program_dir/$file" ] || fail "no $file in $program_dir"
done
out=$(wine "$program_dir/seeker.exe" --version 2>/dev/null | tr -d '\r')
[ "$out" = "seeker $version" ] || fail "the installed seeker.exe --version printed '$out'"
[ -f "$shortcut" ] || fail "no Start-menu shortcut at $shortcut"
strings -el "$shortcut" | grep -qi 'Programs\\Seeker\\seeker.exe$' || fail "the shortcut does not start seeker.exe"
entry=$(wine reg query "$key" 2>/dev/null | tr -d '\r') || fail "no entry $key"
for value in "DisplayName +REG_SZ +Seeker$" "DisplayVersion +REG_SZ +$version$" \
             'UninstallString +REG_SZ +"C:\\users\\.*\\Programs\\Seeker\\uninstall.exe"$' \
             'DisplayIcon +REG_SZ +C:\\users\\.*\\seeker.exe,0$' 'Publisher +REG_SZ +.+' \
             'EstimatedSize +REG_DWORD +0x[0-9a-f]{3,}$'; do
  grep -Eq "^ +$value" <<<"$entry" || fail "the uninstall entry lacks /$value/: $entry"
done

mkdir -p "$app_data/seeker"
printf 'site3 = http://127.0.0.1:1\r\n' >"$app_data/seeker/sites.conf"
wine "$program_dir/uninstall.exe" /S || fail "uninstall.exe /S exited with $?"
# The uninstaller runs on from a copy of itself in the temporary folder.
wineserver -w
[ ! -e "$program_dir" ] || fail "the program folder is left: $(ls -A "$program_dir")"
[ ! -e "$shortcut" ] || fail "the shortcut is left"
! wine reg query "$key" >/dev/null 2>&1 || fail "the uninstall entry is left"
[ "$(cat "$app_data/seeker/sites.conf")" = $'site3 = http://127.0.0.1:1\r' ] || fail "sites.conf was touched"

[ "$(unzip -Z1 "$zip" | sort | tr '\n' ' ')" = "README.txt seeker.exe " ] ||
  fail "the zip holds $(unzip -Z1 "$zip" | tr '\n' ' ')"
unzip -q "$zip" -d "$work/portable"
cmp -s "$work/portable/seeker.exe" "$build/package/seeker.exe" || fail "the zip's seeker.exe differs"
echo "installed, ran and uninstalled seeker $version; the zip is complete"
