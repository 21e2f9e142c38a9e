#!/usr/bin/env bash
# Unpacks the Debian package into a scratch root and checks the install
# layout, then runs the programs from there with an empty environment: they
# must find their language files in ../share/qxprog/language on their own.
set -euo pipefail
package_dir=$1
source_dir=$2

debs=("$package_dir"/qxprog_*.deb)
deb=${debs[0]}
[ -f "$deb" ] || { echo "no package in $package_dir"; exit 1; }
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
root=$scratch/root
dpkg-deb -x "$deb" "$root"
mkdir -p "$scratch/home"

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

expected=(
  usr/bin/qxprog usr/bin/qxctl usr/bin/qxsim
  usr/share/qxprog/language/english.ini usr/share/qxprog/language/chinese.ini
  usr/share/qxprog/language/mysetup.ini
  usr/share/applications/org.example.qxprog.desktop
  usr/share/metainfo/org.example.qxprog.metainfo.xml
  usr/share/mime/packages/qxprog.xml
  usr/share/icons/hicolor/scalable/apps/org.example.qxprog.svg
  usr/share/doc/qxprog/copyright usr/share/doc/qxprog/changelog.gz
)
for page in "$source_dir"/man/*.1; do
  expected+=("usr/share/man/man1/$(basename "$page").gz")
done
if [ -f "$source_dir/packaging/bash-completion/qxctl" ]; then
  expected+=(usr/share/bash-completion/completions/qxctl)
fi
for file in "${expected[@]}"; do
  [ -f "$root/$file" ] || fail "$file is not in the package"
done
for size in 16 24 32 48 64 128 256; do
  png=usr/share/icons/hicolor/${size}x${size}/apps/org.example.qxprog.png
  if [ ! -f "$root/$png" ]; then
    fail "$png is not in the package"
  elif ! file "$root/$png" | grep -q "PNG image data, $size x $size,"; then
    fail "$png is not a $size x $size PNG: $(file -b "$root/$png")"
  fi
done
# The language folder belongs under share/, not beside the programs.
[ ! -e "$root/usr/bin/language" ] || fail "usr/bin/language is in the package"

# Runs a program from the unpacked root with nothing in the environment that
# could point it at the build tree; fills $out, $err and $code.
run() {
  code=0
  out=$(cd "$scratch" && env -i PATH=/usr/bin:/bin HOME="$scratch/home" \
          QT_QPA_PLATFORM=offscreen "$root/usr/bin/$1" "${@:2}" 2>"$scratch/stderr") || code=$?
  err=$(cat "$scratch/stderr")
}

run qxctl models
[ "$code" = 0 ] || fail "qxctl models exited with $code: $err"
[ "$(printf '%s\n' "$out" | wc -l)" = 32 ] || fail "qxctl models did not list 32 models: $out"
printf '%s\n' "$out" | grep -qx 'NORVA_AT:Rx(26-45.9950) Tx(26-45.9950)' ||
  fail "qxctl models does not list the first model: $out"

run qxctl --help
[ "$code" = 0 ] || fail "qxctl --help exited with $code: $err"
printf '%s\n' "$out$err" | grep -q qxctl || fail "qxctl --help does not mention qxctl: $out$err"

# A listing needs the language file it names: a missing language folder
# ends it with "no language file".
project=$source_dir/tests/data/files/fresh_model3.qx
for language in english chinese; do
  run qxctl listing "$project" -o - --language "$language.ini"
  [ "$code" = 0 ] || fail "qxctl listing in $language exited with $code: $err"
  printf -v "listing_$language" '%s' "$out"
done
[ "$listing_english" != "$listing_chinese" ] ||
  fail "the English and Chinese listings are the same"

run qxprog --version
[ "$code" = 0 ] || fail "qxprog --version exited with $code: $err"
[ "$out" = "qxprog $(dpkg-deb --field "$deb" Version)" ] || fail "qxprog --version printed: $out"

run qxsim --help
[ "$code" = 0 ] || fail "qxsim --help exited with $code: $err"
printf '%s\n' "$out$err" | grep -q qxsim || fail "qxsim --help does not mention qxsim: $out$err"

[ "$failures" = 0 ] || exit 1
echo "the unpacked package runs"
