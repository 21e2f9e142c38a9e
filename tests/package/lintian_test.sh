#!/usr/bin/env bash
# Runs lintian over the package: errors fail, warnings are shown.
set -euo pipefail
package_dir=$1

command -v lintian >/dev/null || { echo "lintian not found: install the Debian package lintian"; exit 1; }
debs=("$package_dir"/qxprog_*.deb)
[ -f "${debs[0]}" ] || { echo "no package in $package_dir"; exit 1; }
options=(--fail-on error --display-info)
# CI runs as root, where lintian would otherwise refuse to check.
[ "$(id -u)" != 0 ] || options+=(--allow-root)
lintian "${options[@]}" "${debs[0]}"
echo "lintian found no errors"
