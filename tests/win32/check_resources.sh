#!/usr/bin/env bash
# Reads the manifest and the version information out of a built Windows program with a
# resource reader (wrestool, Debian's icoutils) and checks them:
#   check_resources.sh PROGRAM.exe VERSION
# Both programs run as the person who starts them (no legacy file redirection), name the
# Windows versions they were made for and keep the system's ANSI code page; the window is
# aware of each monitor's dots per inch. Both carry VERSION in their version information.
set -euo pipefail
exe=$1 version=$2
failures=0
fail() {
    echo "FAILED: $(basename "$exe"): $*" >&2
    failures=$((failures + 1))
}

# Resource type 24 is the manifest; 1 is the one the loader reads at process creation.
manifest=$(wrestool --extract --raw --type=24 --name=1 "$exe")
[ -n "$manifest" ] || fail "no manifest"
expect() { grep -qF -- "$1" <<<"$manifest" || fail "the manifest lacks $1"; }
expect '<requestedExecutionLevel level="asInvoker" uiAccess="false"/>'
for os in 8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a 1f676c76-80e1-4239-95bb-83d0f6d0da78 \
    4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38 35138b9a-5d96-4fbd-8e2d-a2440225f93a \
    e2011457-1546-43c5-a5fe-008deee3d3f0; do  # Windows 10/11, 8.1, 8, 7, Vista
    expect "<supportedOS Id=\"{$os}\"/>"
done
expect "version=\"$version.0\""
[ -n "$(wrestool --list --type=14 "$exe")" ] || fail "no icon"  # 14: an icon group
if grep -qF "<activeCodePage" <<<"$manifest"; then
    fail "the manifest sets the active code page"
fi
if [ "$(basename "$exe")" = tavrix.exe ]; then
    expect '>PerMonitorV2, PerMonitor</dpiAwareness>'
    expect '>true/pm</dpiAware>'
    expect 'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"'
fi

# Resource type 16 is the version information; its texts are UTF-16.
texts=$(wrestool --extract --raw --type=16 "$exe" | strings --encoding=l)
for key in FileVersion ProductVersion; do
    grep -A1 -x "$key" <<<"$texts" | tail -1 | grep -q "^$version\b" ||
        fail "$key is not $version"
done
grep -qx "$(basename "$exe")" <<<"$texts" || fail "OriginalFilename is not $(basename "$exe")"

[ "$failures" -eq 0 ] && echo "$(basename "$exe"): manifest and version information as expected"
