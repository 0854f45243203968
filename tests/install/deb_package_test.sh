#!/usr/bin/env bash
# deb_package_test.sh BUILD_DIR WITH_PROGRAM VERSION: builds the Debian
# package and checks its control fields and contents.
set -euo pipefail
build=$1 with_program=$2 version=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$work" && cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work" >/dev/null)
deb=$(ls "$work"/seeker_"$version"_*.deb) || fail "no package"
[ "$(dpkg-deb -f "$deb" Package)" = seeker ] || fail "package name"
contents=$(dpkg-deb -c "$deb")
for path in ./usr/share/applications/seeker.desktop ./usr/share/metainfo/org.seeker.Seeker.metainfo.xml \
            ./usr/share/icons/hicolor/256x256/apps/seeker.png ./usr/share/man/man1/seeker.1; do
  grep -q " $path\$" <<<"$contents" || fail "package lacks $path"
done
if [ "$with_program" = 1 ]; then
  grep -q ' ./usr/bin/seeker$' <<<"$contents" || fail "package lacks usr/bin/seeker"
  depends=$(dpkg-deb -f "$deb" Depends)
  for lib in libc6 libcurl4 libcairo2 libpango-1.0-0 libx11-6; do
    grep -q "\b$lib\b" <<<"$depends" || fail "Depends lacks $lib: $depends"
  done
fi
echo "package $(basename "$deb") is complete"
