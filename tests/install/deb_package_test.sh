#!/usr/bin/env bash
# deb_package_test.sh BUILD_DIR VERSION: builds the Debian
# packages and checks their control fields and contents: the documents
# Debian asks for, a maintainer one can write to, a CJK font among the
# dependencies, the program stripped with its debug information in
# seeker-dbgsym, and no error from lintian on either package.
set -euo pipefail
build=$1 version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$work" && cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work" >/dev/null)
deb=$(ls "$work"/seeker_"$version"_*.deb) || fail "no package"
[ "$(dpkg-deb -f "$deb" Package)" = seeker ] || fail "package name"
maintainer=$(dpkg-deb -f "$deb" Maintainer)
grep -qE '^[^<]+ <[^@<>]+@[^@<>]+\.[a-z]+>$' <<<"$maintainer" && ! grep -q localhost <<<"$maintainer" ||
  fail "maintainer '$maintainer'"
contents=$(dpkg-deb -c "$deb")
for path in ./usr/share/applications/seeker.desktop ./usr/share/metainfo/org.seeker.Seeker.metainfo.xml \
            ./usr/share/icons/hicolor/256x256/apps/seeker.png ./usr/share/man/man1/seeker.1.gz \
            ./usr/share/doc/seeker/copyright ./usr/share/doc/seeker/changelog.gz; do
  grep -q " $path\$" <<<"$contents" || fail "package lacks $path"
done
dpkg-deb -x "$deb" "$work/root"
zcat "$work/root/usr/share/doc/seeker/changelog.gz" | head -n 1 | grep -qF "seeker ($version)" || fail "changelog is not of $version"
grep -q '^Files: \*$' "$work/root/usr/share/doc/seeker/copyright" || fail "copyright is not machine-readable"
lintian_errors() { lintian "$1" 2>&1 | grep '^E:' || true; }
errors=$(lintian_errors "$deb")
[ -z "$errors" ] || fail "lintian: $errors"
grep -q ' ./usr/bin/seeker$' <<<"$contents" || fail "package lacks usr/bin/seeker"
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libc6 libcurl4 libcairo2 libpango-1.0-0 libx11-6 fonts-wqy-microhei; do
  grep -q "\b$lib\b" <<<"$depends" || fail "Depends lacks $lib: $depends"
done
program=$work/root/usr/bin/seeker
! readelf -S "$program" | grep -qE '\.(debug_info|symtab)\b' || fail "usr/bin/seeker is not stripped"
dbgsym=$(ls "$work"/seeker-dbgsym_"$version"_*.deb) || fail "no debug symbols package"
[ "$(dpkg-deb -f "$dbgsym" Depends)" = "seeker (= $version)" ] || fail "seeker-dbgsym's Depends"
id=$(readelf -n "$program" | awk '/Build ID:/ { print $3 }')
dpkg-deb -x "$dbgsym" "$work/dbgsym"
readelf -S "$work/dbgsym/usr/lib/debug/.build-id/${id:0:2}/${id:2}.debug" | grep -q '\.debug_info' ||
  fail "seeker-dbgsym lacks the debug information of build id $id"
errors=$(lintian_errors "$dbgsym")
[ -z "$errors" ] || fail "lintian on seeker-dbgsym: $errors"
echo "usr/bin/seeker: $(stat -c %s "$program") bytes; its debug information: $(stat -c %s "$dbgsym") bytes in $(basename "$dbgsym")"
echo "package $(basename "$deb") is complete"
