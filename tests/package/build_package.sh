#!/usr/bin/env bash
# Builds the Debian package from the build tree BUILD_DIR into OUT_DIR, as
# `make package` does from the release tree, and prints its path.
set -euo pipefail
build_dir=$1
out_dir=$2

command -v dpkg-shlibdeps >/dev/null ||
  { echo "dpkg-shlibdeps not found: install the Debian package dpkg-dev"; exit 1; }
rm -rf "$out_dir"
mkdir -p "$out_dir"
cpack --config "$build_dir/CPackConfig.cmake" -B "$out_dir" >"$out_dir/cpack.log" 2>&1 ||
  { cat "$out_dir/cpack.log"; exit 1; }
debs=("$out_dir"/qxprog_*.deb)
[ -f "${debs[0]}" ] || { cat "$out_dir/cpack.log"; echo "no qxprog_*.deb in $out_dir"; exit 1; }
echo "${debs[0]}"
dpkg-deb --info "${debs[0]}"
