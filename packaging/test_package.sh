#!/usr/bin/env bash
# Builds Sysvane's .deb from a build folder, unpacks it into a throwaway folder (dpkg -x, no
# root, nothing installed on this machine), checks what a user would get, then starts the
# unpacked program with packaging/smoke_test.sh.
#   packaging/test_package.sh BUILD_DIR
# Exit status: 0 passed, 1 failed, 77 a tool it needs is missing.
set -euo pipefail

for tool in cpack dpkg-deb dpkg-shlibdeps desktop-file-validate readelf; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is missing (scripts/setup.sh installs it)"
    exit 77
  fi
done

build=$(cd "${1:?usage: test_package.sh BUILD_DIR}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)

work=$(mktemp -d "${TMPDIR:-/tmp}/sysvane-package.XXXXXX")
trap 'rm -rf "$work"' EXIT
trap 'exit 143' TERM INT HUP

failures=0
check() {
  local what=$1
  shift
  if "$@"; then
    echo "ok: $what"
  else
    echo "FAIL: $what"
    failures=$((failures + 1))
  fi
}

# ---- the package, built into the throwaway folder so that it clashes with no other build.
if ! (cd "$build" && cpack -G DEB -B "$work/out") >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log"
  echo "FAIL: cpack could not build the package"
  exit 1
fi
debs=("$work"/out/sysvane_*.deb)
if [[ ${#debs[@]} -ne 1 || ! -f ${debs[0]} ]]; then
  ls -l "$work/out"
  echo "FAIL: cpack did not make exactly one sysvane_*.deb"
  exit 1
fi
deb=${debs[0]}
echo "built $(basename "$deb")"

field() { dpkg-deb --field "$deb" "$1"; }
check "the package is named sysvane" test "$(field Package)" = sysvane
check "its version is 2.0" test "$(field Version)" = 2.0
check "it is built for this machine ($(dpkg --print-architecture))" \
  test "$(field Architecture)" = "$(dpkg --print-architecture)"
check "its section is utils" test "$(field Section)" = utils
check "its maintainer writes from quorvale.example" grep -q '@quorvale\.example>$' <<<"$(field Maintainer)"
check "it has a description" test -n "$(field Description)"

depends=$(field Depends)
echo "Depends: $depends"
# The names of the packages it depends on; Debian's 64-bit time transition renamed some with a
# t64 ending (libqt6core6t64), which names the same library.
depended=$(tr ',' '\n' <<<"$depends" | sed 's/^ *//; s/[ (].*//; s/t64$//')
for library in libqt6core6 libqt6gui6 libqt6widgets6 libc6 libstdc++6; do
  check "Depends lists $library" grep -qxF "$library" <<<"$depended"
done

# ---- the files, where a desktop looks for them.
root=$work/root
dpkg-deb -x "$deb" "$root"
check "the program is in /usr/bin" test -x "$root/usr/bin/sysvane"
check "the menu entry is in /usr/share/applications" test -f "$root/usr/share/applications/sysvane.desktop"
check "the README is in /usr/share/doc/sysvane" test -s "$root/usr/share/doc/sysvane/README.md"
check "the scalable icon is in the hicolor theme" test -s "$root/usr/share/icons/hicolor/scalable/apps/sysvane.svg"

# The width and height of a PNG, from its header chunk.
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%dx%d", $3 * 256 + $4, $7 * 256 + $8 }'; }
for size in 16 22 24 32 48 64; do
  icon=$root/usr/share/icons/hicolor/${size}x${size}/apps/sysvane.png
  check "the ${size}x${size} icon is a ${size}x${size} picture" test "$(png_size "$icon" 2>/dev/null)" = "${size}x${size}"
done
# A build folder left in the program's library search path would make it depend on this tree.
# (grep reads all: under pipefail an early exit would break readelf's pipe and fail the pipeline)
# shellcheck disable=SC2317  # called through check
no_search_path() { ! readelf -d "$root/usr/bin/sysvane" | grep -E 'R(UN)?PATH' >/dev/null; }
check "the program looks for libraries in no build folder" no_search_path

entry=$root/usr/share/applications/sysvane.desktop
value() { sed -n "s/^$1=//p" "$entry"; }
check "the menu entry is valid" desktop-file-validate "$entry"
check "the menu entry starts the packaged program" test -x "$root/usr/bin/$(value Exec)"
check "the menu entry's icon is the packaged one" test -s "$root/usr/share/icons/hicolor/48x48/apps/$(value Icon).png"
check "the menu entry is listed under System and Monitor" test "$(value Categories)" = "System;Monitor;"

if ((failures > 0)); then
  echo "FAIL: $failures check(s) of the package failed"
  exit 1
fi

# ---- the unpacked program, started as a user would.
# In the background, so that a TERM from ctest's time-out reaches it at once and its own trap
# ends what it started.
"$here/smoke_test.sh" "$root/usr/bin/sysvane" &
smoke_pid=$!
trap 'kill -TERM "$smoke_pid" 2>/dev/null; wait "$smoke_pid"; exit 143' TERM INT HUP
status=0
wait "$smoke_pid" || status=$?
exit "$status"
