#!/usr/bin/env bash
# Installs the build into a staging folder and checks the three installed files:
# the executable, a valid desktop entry and a manual page that lints clean.
set -euo pipefail
build_dir=$1
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

DESTDIR="$stage" cmake --install "$build_dir" --prefix /usr >/dev/null

fail() { echo "FAIL: $*"; exit 1; }
[ -x "$stage/usr/bin/mandeljulia" ] || fail "executable not installed"
desktop="$stage/usr/share/applications/mandeljulia.desktop"
manual="$stage/usr/share/man/man1/mandeljulia.1"
[ -f "$desktop" ] || fail "desktop entry not installed"
[ -f "$manual" ] || fail "manual page not installed"

desktop-file-validate "$desktop" || fail "desktop entry does not validate"
grep -qx 'Exec=mandeljulia' "$desktop" || fail "desktop entry does not start mandeljulia"
grep -q '^Categories=.*Graphics;.*Education;' "$desktop" || fail "desktop entry categories"

lint=$(mandoc -T lint "$manual" 2>&1) || fail "mandoc lint: $lint"
[ -z "$lint" ] || fail "mandoc lint: $lint"
warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$manual" 2>&1 >/dev/null) || fail "man: $warnings"
[ -z "$warnings" ] || fail "man warnings: $warnings"
for section in NAME SYNOPSIS DESCRIPTION KEYS MOUSE FILES OUTPUT 'EXIT STATUS'; do
  grep -q "^\.SH $section\$" "$manual" || fail "manual page lacks $section"
done
echo "install check: ok"
