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
for want in ./usr/bin/korvalen ./usr/share/applications/korvalen.desktop ./usr/share/icons/hicolor/scalable/apps/korvalen.svg \
    ./usr/share/metainfo/korvalen.metainfo.xml ./usr/share/man/man1/korvalen.1.gz \
    ./usr/share/doc/korvalen/copyright ./usr/share/doc/korvalen/changelog.gz; do
    grep -qx "$want" <<<"$files" || fail "the package lacks $want"
done

depends=$(dpkg-deb -f "$deb" Depends)
for need in libqt6widgets6 qt6-qpa-plugins fonts-noto-cjk; do
    grep -q "$need" <<<"$depends" || fail "Depends lacks $need: $depends"
done

dpkg-deb -x "$deb" "$work/root"
desktop-file-validate "$work/root/usr/share/applications/korvalen.desktop" || fail "the desktop entry is not valid"
grep -q '^Name\[ja\]=' "$work/root/usr/share/applications/korvalen.desktop" || fail "no Japanese name"
grep -q '<svg' "$work/root/usr/share/icons/hicolor/scalable/apps/korvalen.svg" || fail "the icon is not an SVG"
# The software-centre entry: valid, and naming the desktop entry. A reverse-domain id
# needs a domain the project owns, so that one hint is let pass.
appstreamcli validate --no-net "$work/root/usr/share/metainfo/korvalen.metainfo.xml" > "$work/appstream.log" 2>&1
if grep -E '^[EW]:' "$work/appstream.log" | grep -v 'cid-desktopapp-is-not-rdns' | grep -q .; then
    cat "$work/appstream.log"
    fail "the software-centre entry is not valid"
fi
grep -q '<launchable type="desktop-id">korvalen.desktop</launchable>' "$work/root/usr/share/metainfo/korvalen.metainfo.xml" ||
    fail "the software-centre entry does not name the desktop entry"
man -l "$work/root/usr/share/man/man1/korvalen.1.gz" 2>/dev/null | grep -q "korvalen" || fail "the manual page does not read"

# PNG icons at each size, the Japanese manual page and keywords, what the package offers and recommends.
for n in 16 24 32 48 64 128 256; do
    png="$work/root/usr/share/icons/hicolor/${n}x${n}/apps/korvalen.png"
    [ "$(od -An -j16 -N8 -tu4 --endian=big "$png" 2>/dev/null | xargs)" = "$n $n" ] || fail "no ${n}x${n} PNG icon"
done
man -l "$work/root/usr/share/man/ja/man1/korvalen.1.gz" 2>/dev/null | grep -q "名前" || fail "no Japanese manual page"
zgrep -qE '\\-(platform|display)' "$work/root/usr/share/man/man1/korvalen.1.gz" && fail "the manual page promises Qt's options"
grep -q '^Keywords\[ja\]=ニューラルネットワーク;' "$work/root/usr/share/applications/korvalen.desktop" &&
    ! grep -P '^Keywords=.*[^\x00-\x7f]' "$work/root/usr/share/applications/korvalen.desktop" || fail "Japanese keywords not under Keywords[ja]"
grep -q '<binary>korvalen</binary>' "$work/root/usr/share/metainfo/korvalen.metainfo.xml" || fail "the software-centre entry provides no binary"
grep -q 'fonts-noto-cjk | fonts-ipafont-gothic' <<<"$depends" || fail "no alternative Japanese font: $depends"
[ "$(dpkg-deb -f "$deb" Recommends)" = qt6-translations-l10n ] && ! grep -q qt6-translations <<<"$depends" || fail "Qt's translations not recommended"

# Debian's own checks of a package: no error and no warning.
lintian --no-tag-display-limit "$deb" > "$work/lintian.log" 2>&1
if grep -E '^[EW]: ' "$work/lintian.log"; then fail "lintian finds faults in the package"; fi
echo "package ok: $(basename "$deb")"
echo "Depends: $depends"
