#!/usr/bin/env bash
# Runs the program from the scratch root, not from the build folder, and checks
# what it says its version is:
#   test_installed_version.sh <scratch root> <version>
# No display is offered, since printing the version must not need one.
set -uo pipefail
root=$1
version=$2
program=$root/usr/bin/kx7040-setup
out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 30 "$program" --version 2>&1)
status=$?
echo "$program --version (status $status): $out"
[ $status -eq 0 ] && [ "$out" = "kx7040-setup $version" ]
