# A plain Release build, configured as a packager would (no preset, so no warnings as
# errors; the tests ran in the earlier stages); then its .deb, unpacked into an empty folder with dpkg, where
# the installed programs, man pages, desktop entry and metainfo are checked.
set -euo pipefail
cd "$(dirname "$0")/../.."
source tools/lib.sh
build=build/release
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" -j "$(jobs)"
(cd "$build" && cpack >/dev/null)

deb=$(ls "$build"/tavrix_*.deb)
root=$(mktemp -d "$PWD/build/package-root.XXXXXX")
trap 'rm -rf "$root"' EXIT
dpkg -x "$deb" "$root"
failures=0
fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}
version=$(sed -n 's/^project(tavrix VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ "$("$root/usr/bin/tavrix-script" --version)" = "tavrix $version" ] ||
    fail "the unpacked tavrix-script --version"
[ "$(env -u DISPLAY -u WAYLAND_DISPLAY "$root/usr/bin/tavrix" --version)" = "tavrix $version" ] ||
    fail "the unpacked tavrix --version"
for page in tavrix tavrix-script; do
    zcat "$root/usr/share/man/man1/$page.1.gz" | grep -q "^\.TH ${page^^} \"1\"" ||
        fail "the man page of $page"
done
desktop-file-validate "$root/usr/share/applications/tavrix.desktop" || fail "the desktop entry"
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml || fail "the metainfo"
[ -f "$root/usr/share/icons/hicolor/scalable/apps/tavrix.svg" ] || fail "the icon"
[ -f "$root/usr/share/mime/packages/tavrix-session.xml" ] || fail "the session files' MIME type"
depends=$(dpkg-deb --field "$deb" Depends)
for package in libc6 libstdc++6 libqt6widgets6 libqt6gui6 libqt6core6 qt6-qpa-plugins; do
    grep -q "\b$package\b" <<<"$depends" || fail "Depends lacks $package: $depends"
done
echo "$(basename "$deb"): Depends: $depends"
[ "$failures" -eq 0 ]
