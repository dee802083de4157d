#!/usr/bin/env bash
# Builds Sysvane's .deb from a build folder, unpacks it into a throwaway folder (dpkg -x: no root,
# nothing installed), checks what a user gets, then runs the unpacked program through the
# end-to-end first-run scenario (splash screen, icon in the tray, Options dialog).
#   packaging/test_package.sh BUILD_DIR
# Exit status: 0 passed, 1 failed, 77 a tool it needs is missing.
set -euo pipefail

for tool in cpack dpkg-deb dpkg-shlibdeps desktop-file-validate readelf python3; do command -v "$tool" >/dev/null ||
  { echo "SKIP: $tool is missing (scripts/setup.sh installs it)"; exit 77; }; done
build=$(cd "${1:?usage: test_package.sh BUILD_DIR}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/sysvane-package.XXXXXX")
trap 'rm -rf "$work"' EXIT

failures=0
check() { if "${@:2}"; then echo "ok: $1"; else echo "FAIL: $1" && failures=$((failures + 1)); fi; }

(cd "$build" && cpack -G DEB -B "$work/out") >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; exit 1; }
deb=$(echo "$work"/out/sysvane_*.deb)
field() { dpkg-deb --field "$deb" "$1"; }
check "it is sysvane 2.0 for $(dpkg --print-architecture)" \
  test "$(field Package) $(field Version) $(field Architecture)" = "sysvane 2.0 $(dpkg --print-architecture)"
# The package names of a field, one a line.
names() { field "$1" | tr ',|' '\n\n' | sed 's/^ *//; s/[ (].*//'; }
xcb_package=$(dpkg-query -S 'qt6/plugins/platforms/libqxcb.so' | sed 's/[:,].*//')
check "Depends holds the X11 platform plugin ($xcb_package)" grep -qxF "$xcb_package" <(names Depends)
check "Recommends holds the Wayland platform plugin" grep -qxF qt6-wayland <(names Recommends)

root=$work/root
dpkg-deb -x "$deb" "$root"
entry=$root/usr/share/applications/sysvane.desktop
check "the menu entry is valid" desktop-file-validate "$entry"
check "it starts the packaged program" test -x "$root/usr/bin/$(sed -n 's/^Exec=//p' "$entry")"
icon=$(sed -n 's/^Icon=//p' "$entry")
for size in 16x16 22x22 24x24 32x32 48x48 64x64 scalable; do
  check "its $size icon is in the hicolor theme" test -s "$(echo "$root/usr/share/icons/hicolor/$size/apps/$icon".*)"
done
check "no build folder is in its library search path" bash -c "! readelf -d '$root/usr/bin/sysvane' | grep -q PATH"
check "the README is in /usr/share/doc/sysvane" test -s "$root/usr/share/doc/sysvane/README.md"
((failures == 0)) || { echo "FAIL: $failures check(s) of the package failed"; exit 1; }

# In the background, so that a TERM from ctest's time-out reaches the scenario, which ends what it started.
python3 "$here/../tests/e2e/run_e2e.py" --program "$root/usr/bin/sysvane" --out "$work" first-run &
trap 'kill -TERM $! 2>/dev/null; wait $!; exit 143' TERM INT HUP
wait $!
