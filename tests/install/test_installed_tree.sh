#!/usr/bin/env bash
# Checks what `cmake --install --prefix /usr` put into a scratch root:
#   test_installed_tree.sh <scratch root> <application id> <version>
# Every check runs and reports; the exit status is 1 if any failed.
set -uo pipefail
root=$1
app_id=$2
version=$3
usr=$root/usr
# shellcheck source=SCRIPTDIR/lib_checks.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib_checks.sh"

# The program.
check "the program is installed and executable" test -x "$usr/bin/kx7040-setup"

# The desktop entry: validated, and naming the installed program and icon.
entry=$usr/share/applications/$app_id.desktop
if [ -f "$entry" ]; then
  out=$(desktop-file-validate "$entry" 2>&1)
  status=$?
  if [ $status -eq 0 ] && [ -z "$out" ]; then
    pass "desktop-file-validate has nothing to say"
  else
    fail "desktop-file-validate (status $status): $out"
  fi
  key() { sed -n "s/^$1=//p" "$entry" | head -n 1; }
  exec_name=$(key Exec)
  exec_name=${exec_name%% *}
  check "the entry starts kx7040-setup" test "$exec_name" = kx7040-setup
  check "the program the entry starts is installed" test -x "$usr/bin/$exec_name"
  check "the entry names the icon $app_id" test "$(key Icon)" = "$app_id"
  check "the entry matches windows of class kx7040-setup" test "$(key StartupWMClass)" = kx7040-setup
else
  fail "desktop entry $entry is missing"
fi

# The AppStream metadata.
metainfo=$usr/share/metainfo/$app_id.metainfo.xml
if [ -f "$metainfo" ]; then
  if out=$(appstreamcli validate --no-net "$metainfo" 2>&1); then
    pass "appstreamcli validate passes"
  else
    fail "appstreamcli validate: $out"
  fi
  check "the metainfo id is $app_id" grep -q "<id>$app_id</id>" "$metainfo"
  launchable=$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "$metainfo")
  check "the metainfo launches the installed desktop entry" \
    test -n "$launchable" -a -f "$usr/share/applications/$launchable"
  newest=$(grep -o '<release version="[^"]*"' "$metainfo" | head -n 1 | cut -d'"' -f2)
  check "the newest release in the metainfo is $version (found '$newest')" test "$newest" = "$version"
else
  fail "metainfo $metainfo is missing"
fi

# The icon the entry names, in every size the theme is given.
icons=$usr/share/icons/hicolor
check "the scalable icon is an SVG" grep -q "<svg" "$icons/scalable/apps/$app_id.svg"
for size in 48 64 128 256; do
  png=$icons/${size}x$size/apps/$app_id.png
  if [ -f "$png" ]; then
    actual=$(identify -format '%m %wx%h' "$png" 2>&1)
    check "the ${size}x$size icon is a PNG of that size (found '$actual')" test "$actual" = "PNG ${size}x$size"
  else
    fail "icon $png is missing"
  fi
done

# The manual page: compressed, rendered by man without a warning.
page=$usr/share/man/man1/kx7040-setup.1.gz
if [ -f "$page" ]; then
  check "the manual page is a valid gzip file" gzip -t "$page"
  warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
  if [ -z "$warnings" ]; then pass "man renders the page without warnings"; else fail "man warns: $warnings"; fi
  check "the manual page is that of version $version" \
    bash -c "zcat '$page' | grep -q '^\.TH .*\"kx7040-setup $version\"'"
else
  fail "manual page $page is missing"
fi

# The package documentation.
doc=$usr/share/doc/kx7040-setup
check "the copyright file is installed" grep -q '^Copyright:' "$doc/copyright"
if [ -f "$doc/changelog.gz" ]; then
  top=$(zcat "$doc/changelog.gz" | dpkg-parsechangelog -l - -S Version 2>&1)
  check "the changelog's newest entry is $version (found '$top')" test "$top" = "$version"
else
  fail "changelog $doc/changelog.gz is missing"
fi

# Nothing else, and the permissions a package needs: directories and the
# program 0755, every other file 0644.
stray=$(cd "$root" && find . -type f ! -path './usr/bin/kx7040-setup' \
  ! -path "./usr/share/applications/$app_id.desktop" ! -path "./usr/share/metainfo/$app_id.metainfo.xml" \
  ! -path "./usr/share/icons/hicolor/*/apps/$app_id.*" ! -path './usr/share/man/man1/kx7040-setup.1.gz' \
  ! -path './usr/share/doc/kx7040-setup/*')
check "nothing else is installed${stray:+: $stray}" test -z "$stray"
bad_modes=$(cd "$root" && find . -mindepth 1 \( -type d ! -perm 0755 \) -o \
  \( -type f ! -path './usr/bin/*' ! -perm 0644 \) -o \( -type f -path './usr/bin/*' ! -perm 0755 \))
check "modes are 0755 and 0644${bad_modes:+: $bad_modes}" test -z "$bad_modes"

checks_done
