#!/usr/bin/env bash
# install_test.sh BUILD_DIR: installs the build into a temporary DESTDIR under /usr, checks the
# installed files, validates the desktop entry and the AppStream metadata (when the validators are
# installed), and starts the installed viewer offscreen with a registry of its own: it must answer
# --version, show the four cameras' live pictures and register the overlay library installed
# with it.
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root=$work/root
fail() {
    echo "install_test: $*" >&2
    exit 1
}

DESTDIR=$root cmake --install "$build" --prefix /usr >"$work/install.log" ||
    { cat "$work/install.log" >&2; fail "cmake --install failed"; }

app_id=org.quadrel.Quadrel
libs=("$root"/usr/lib/*/quadrel/libvexlay.so "$root"/usr/lib/quadrel/libvexlay.so)
library=
for candidate in "${libs[@]}"; do [[ -f $candidate ]] && library=$candidate; done
[[ -n $library ]] || fail "libvexlay.so is not in a private folder under /usr/lib"
for file in usr/bin/quadrel usr/bin/quadrel-reg; do
    [[ -x $root/$file ]] || fail "$file is not installed or not executable"
done
for file in usr/share/applications/$app_id.desktop usr/share/metainfo/$app_id.metainfo.xml \
    usr/share/man/man1/quadrel.1.gz usr/share/man/man1/quadrel-reg.1.gz; do
    [[ -s $root/$file ]] || fail "$file is not installed"
done
# Nothing of the program lands on the system's library path.
stray=$(find "$root/usr/lib" -maxdepth 2 -name '*.so*' -not -path '*/quadrel/*')
[[ -z $stray ]] || fail "installed on the system's library path: $stray"

# Each icon is a PNG of the size its folder names.
for size in 16 32 48 64 128 256; do
    icon=$root/usr/share/icons/hicolor/${size}x${size}/apps/quadrel.png
    [[ -f $icon ]] || fail "no ${size}x${size} icon"
    read -r width height < <(/usr/bin/python3 -c '
import struct, sys
data = open(sys.argv[1], "rb").read(24)
assert data[:8] == b"\x89PNG\r\n\x1a\n" and data[12:16] == b"IHDR", "not a PNG"
print(*struct.unpack(">II", data[16:24]))' "$icon") || fail "$icon is not a PNG"
    [[ $width == "$size" && $height == "$size" ]] || fail "$icon is ${width}x${height}"
done
grep -qx "Icon=quadrel" "$root/usr/share/applications/$app_id.desktop" ||
    fail "the desktop entry does not name the icon"
grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" \
    "$root/usr/share/metainfo/$app_id.metainfo.xml" || fail "the metadata does not launch the entry"

if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$root/usr/share/applications/$app_id.desktop" ||
        fail "desktop-file-validate"
else
    echo "install_test: desktop-file-validate is not installed; not run"
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$root/usr/share/metainfo/$app_id.metainfo.xml" ||
        fail "appstreamcli validate"
else
    echo "install_test: appstreamcli is not installed; not run"
fi
if command -v man >/dev/null; then
    for page in quadrel quadrel-reg; do
        warnings=$(MANWIDTH=80 man --warnings -l "$root/usr/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
        [[ -z $warnings ]] || fail "$page.1: $warnings"
    done
fi

# The installed viewer, with nothing registered and a home of its own.
export QUADREL_REGISTRY_DIR=$work/registry XDG_CONFIG_HOME=$work/config XDG_STATE_HOME=$work/state
export XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work/runtime QT_QPA_PLATFORM=offscreen
unset QUADREL_SIMULATOR
# The C locale: the program's own texts whatever the developer's locale.
export LANG=C.UTF-8
unset LANGUAGE LC_ALL LC_MESSAGES
mkdir -p "$QUADREL_REGISTRY_DIR" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
version=$("$root/usr/bin/quadrel" --version)
[[ $version =~ ^quadrel\ [0-9]+(\.[0-9]+)+$ ]] || fail "quadrel --version said \"$version\""
"$root/usr/bin/quadrel" --simulate "signal=1,2,3,4" --screenshot "$work/window.png" \
    >"$work/run.log" 2>&1 || { cat "$work/run.log" >&2; fail "the installed quadrel failed"; }
[[ -s $work/window.png ]] || fail "the installed quadrel saved no picture"
# The four panes show the cameras' moving scenes (an empty pane is black: one colour).
read -r -a colours < <(/usr/bin/python3 "$(dirname "$0")/pane_colours.py" "$work/window.png" \
    26 19 315 238 26 261 315 238 348 19 315 238 348 261 315 238)
for count in "${colours[@]}"; do
    ((count >= 8)) || fail "a pane shows no live picture (colours per pane: ${colours[*]})"
done

# It registered the library installed with it, found through its own folder.
shown=$("$root/usr/bin/quadrel-reg" query \
    'HKCR\CLSID\{33C3C615-8E30-4874-9C74-10880261C7E8}\InprocServer32' 2>&1 || true)
expected=$(realpath "$library")
grep -qF "REG_SZ    $expected" <<<"$shown" || fail "registered: $shown (expected $expected)"
echo "install_test: all files in place, validators passed, the installed viewer registered $expected"
