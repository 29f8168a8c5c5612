#!/usr/bin/env bash
# Packs the build with its CPack configuration into a scratch folder and checks
# the Debian package: its control fields, that it carries the installed tree
# with a stripped program, and that lintian finds no error in it.
#   test_package.sh <build folder> <scratch folder> <version>
set -uo pipefail
build=$1
scratch=$2
version=$3
# shellcheck source=SCRIPTDIR/lib_checks.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib_checks.sh"

rm -rf "$scratch"
if ! cpack --config "$build/CPackConfig.cmake" -G DEB -B "$scratch" >"$scratch.log" 2>&1; then
  cat "$scratch.log"
  echo "FAIL: cpack"
  exit 1
fi
deb=$(find "$scratch" -maxdepth 1 -name '*.deb' -print -quit)
arch=$(dpkg --print-architecture)
check "the package file is kx7040-setup_${version}_$arch.deb" \
  test "$(basename "$deb")" = "kx7040-setup_${version}_$arch.deb"

field() { dpkg-deb --field "$deb" "$1"; }
check "Package is kx7040-setup" test "$(field Package)" = kx7040-setup
check "Version is $version" test "$(field Version)" = "$version"
depends=$(field Depends)
echo "Depends: $depends"
for library in libc6 libqt6core6 libqt6gui6 libqt6widgets6 libjpeg62-turbo; do
  check "Depends names $library" grep -q "\b$library\b" <<<"$depends"
done
description=$(field Description)
check "the description has a synopsis and a long text" test "$(wc -l <<<"$description")" -gt 2

contents=$(dpkg-deb --contents "$deb")
for path in ./usr/bin/kx7040-setup ./usr/share/applications/com.talvor.KX7040Setup.desktop \
  ./usr/share/metainfo/com.talvor.KX7040Setup.metainfo.xml \
  ./usr/share/icons/hicolor/scalable/apps/com.talvor.KX7040Setup.svg \
  ./usr/share/man/man1/kx7040-setup.1.gz ./usr/share/doc/kx7040-setup/copyright \
  ./usr/share/doc/kx7040-setup/changelog.gz; do
  check "the package holds $path" grep -q " $path\$" <<<"$contents"
done
check "every entry belongs to root" bash -c "! grep -v ' root/root ' <<<'$contents'"

unpacked=$scratch/unpacked
dpkg-deb --extract "$deb" "$unpacked"
check "the program is stripped" bash -c "file '$unpacked/usr/bin/kx7040-setup' | grep -q ', stripped'"

lintian_out=$(lintian --display-info --pedantic "$deb" 2>&1 | grep -v 'running with root privileges')
echo "lintian says:"
echo "${lintian_out:-  (nothing)}"
check "lintian finds no error" bash -c "! grep -q '^E: ' <<<'$lintian_out'"

checks_done
