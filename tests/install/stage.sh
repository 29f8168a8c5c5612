#!/usr/bin/env bash
# Installs the build into an empty scratch root, as a package build does:
#   stage.sh <build folder> <scratch root>
# The root is emptied first so that a file from an earlier run cannot stand in
# for one this install no longer makes.
set -euo pipefail
build=$1
root=$2
rm -rf "$root"
mkdir -p "$root"
DESTDIR=$root cmake --install "$build" --prefix /usr
