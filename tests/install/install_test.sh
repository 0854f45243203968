#!/usr/bin/env bash
# install_test.sh BUILD_DIR VERSION: installs into a temporary
# prefix, validates the desktop entry, the metainfo, the icons, the man page
# and the documents there, checks that the program is stripped with its
# debug information beside it, and runs the installed program.
set -euo pipefail
build=$1 version=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null

desktop=$prefix/share/applications/seeker.desktop
metainfo=$prefix/share/metainfo/org.seeker.Seeker.metainfo.xml
[ -f "$desktop" ] || fail "no desktop entry"
[ -f "$metainfo" ] || fail "no metainfo"
desktop-file-validate "$desktop"
appstreamcli validate --no-net "$metainfo"
# The window's WM_CLASS class is "Seeker"; the desktop matches windows to the entry by it.
grep -qx 'StartupWMClass=Seeker' "$desktop" || fail "StartupWMClass is not Seeker"
grep -qx 'Categories=Network;P2P;' "$desktop" || fail "categories"
grep -qx 'Icon=seeker' "$desktop" || fail "icon name"
grep -q '<launchable type="desktop-id">seeker.desktop</launchable>' "$metainfo" || fail "launchable"

for size in 16 22 24 32 48 64 128 256; do
  icon=$prefix/share/icons/hicolor/${size}x${size}/apps/seeker.png
  [ -f "$icon" ] || fail "no ${size}px icon"
  [ "$(identify -format '%wx%h %[channels]' "$icon")" = "${size}x${size} srgba" ] ||
    fail "${size}px icon is $(identify -format '%wx%h %[channels]' "$icon")"
done

man_page=$prefix/share/man/man1/seeker.1.gz
[ -f "$man_page" ] || fail "no compressed man page"
warnings=$(zcat "$man_page" | groff -Tutf8 -man -ww -z 2>&1)
[ -z "$warnings" ] || fail "man page: $warnings"
for option in --search --pages --sites --format --config --help --version; do
  zgrep -q -- "${option//-/\\\\-}" "$man_page" || fail "man page lacks $option"
done
for doc in copyright changelog.gz; do
  [ -s "$prefix/share/doc/seeker/$doc" ] || fail "no share/doc/seeker/$doc"
done
zcat "$prefix/share/doc/seeker/changelog.gz" | head -n 1 | grep -qF "seeker ($version)" || fail "changelog is not of $version"
man_text=$(MANWIDTH=100 man -l "$man_page" 2>/dev/null)
# Every key of a JSON hit, as the --format paragraph lists them.
json=$(sed -n '/^ *--format/,/^ *--config/p' <<<"$man_text" | tr -s ' \n' ' ')
for key in number title size date site site_id link; do
  grep -qE "(^| |\()$key[,; ]" <<<"$json" || fail "man page lacks the JSON key $key"
done

[ -x "$prefix/bin/seeker" ] || fail "no bin/seeker"
# Stripped, with its debug information beside it under its build id.
! readelf -S "$prefix/bin/seeker" | grep -qE '\.(debug_info|symtab)\b' || fail "bin/seeker is not stripped"
id=$(readelf -n "$prefix/bin/seeker" | awk '/Build ID:/ { print $3 }')
debug=$prefix/lib/debug/.build-id/${id:0:2}/${id:2}.debug
[ -n "$id" ] && [ -f "$debug" ] || fail "no debug information for build id '$id'"
readelf -S "$debug" | grep -q '\.debug_info' || fail "$debug has no debug information"
[ "$(readelf -n "$debug" | awk '/Build ID:/ { print $3 }')" = "$id" ] || fail "$debug is of another build"
out=$("$prefix/bin/seeker" --version)
[ "$out" = "seeker $version" ] || fail "seeker --version printed '$out'"
# The man page lists the sites as --help does.
diff <("$prefix/bin/seeker" --help | awk '/^Sites:/ { on = 1; next } on && NF == 2 { print $1, $2 }') \
     <(awk '/^ *--sites/ { on = 1 } on && /^ +[1-8] +[^ ]+$/ { print $1, $2 } /^ *--format/ { on = 0 }' <<<"$man_text") >&2 ||
  fail "the man page's sites differ from --help's"
echo "installed tree is complete"
