#!/usr/bin/env bash
# Builds the Debian package from a build folder and checks what it holds and needs.
set -u
build="${1:?usage: package_test.sh <build folder>}"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

(cd "$build" && cpack -G DEB -B "$work" > "$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; fail "cpack"; }
deb=$(ls "$work"/*.deb 2>/dev/null | head -1)
[ -n "$deb" ] || fail "no package written"

files=$(dpkg-deb -c "$deb" | awk '{print $6}')
for want in ./usr/bin/korvalen ./usr/share/applications/korvalen.desktop ./usr/share/icons/hicolor/scalable/apps/korvalen.svg; do
    grep -qx "$want" <<<"$files" || fail "the package lacks $want"
done

depends=$(dpkg-deb -f "$deb" Depends)
for need in libqt6widgets6 qt6-qpa-plugins qt6-translations-l10n fonts-noto-cjk; do
    grep -q "$need" <<<"$depends" || fail "Depends lacks $need: $depends"
done

dpkg-deb -x "$deb" "$work/root"
desktop-file-validate "$work/root/usr/share/applications/korvalen.desktop" || fail "the desktop entry is not valid"
grep -q '^Name\[ja\]=' "$work/root/usr/share/applications/korvalen.desktop" || fail "no Japanese name"
grep -q '<svg' "$work/root/usr/share/icons/hicolor/scalable/apps/korvalen.svg" || fail "the icon is not an SVG"
echo "package ok: $(basename "$deb")"
echo "Depends: $depends"
