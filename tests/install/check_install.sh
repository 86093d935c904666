#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a desktop needs of it, then builds the
# Debian package and checks its dependencies and contents. Usage: check_install.sh BUILD_DIR [VERSION]
set -euo pipefail
build=$(cd "$1" && pwd)
version=${2:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# DESTDIR too: a destination configured as an absolute path must not reach the real machine.
dest="$work/dest"
prefix="$dest/opt/spkedit"
DESTDIR="$dest" cmake --install "$build" --prefix /opt/spkedit >/dev/null
for f in bin/spkedit bin/spksim bin/spktool share/applications/spkedit.desktop \
         share/icons/hicolor/scalable/apps/spkedit.svg share/mime/packages/spkedit.xml \
         lib/udev/rules.d/70-spkedit-hid.rules; do
    [ -s "$prefix/$f" ] || fail "not installed: $f"
done

if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$prefix/share/applications/spkedit.desktop" || fail "desktop entry invalid"
else
    echo "desktop-file-validate missing (desktop-file-utils): desktop entry not validated" >&2
fi
for xml in share/mime/packages/spkedit.xml share/icons/hicolor/scalable/apps/spkedit.svg; do
    xmllint --noout "$prefix/$xml" || fail "not well-formed: $xml"
done
# Each MIME type the entry opens is defined, and the globs name the two suffixes.
for type in $(sed -n 's/^MimeType=//p' "$prefix/share/applications/spkedit.desktop" | tr ';' ' '); do
    grep -q "type=\"$type\"" "$prefix/share/mime/packages/spkedit.xml" || fail "MIME type $type undefined"
done
grep -q 'pattern="\*.sdat"' "$prefix/share/mime/packages/spkedit.xml" || fail "no *.sdat glob"
grep -q 'pattern="\*.gdat"' "$prefix/share/mime/packages/spkedit.xml" || fail "no *.gdat glob"
if command -v update-mime-database >/dev/null; then
    XDG_DATA_DIRS="$prefix/share:${XDG_DATA_DIRS:-/usr/share}" update-mime-database "$prefix/share/mime" ||
        fail "update-mime-database refused the types"
    grep -q '^[0-9]*:application/x-spkedit-presets:\*\.gdat' "$prefix/share/mime/globs2" || fail "*.gdat not typed"
fi

# No display at all: --version and --help answer without a platform plugin.
for program in spkedit spksim spktool; do
    out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/$program" --version) ||
        fail "$program --version failed"
    [[ "$out" == "$program "* ]] || fail "$program --version printed '$out'"
    [ -z "$version" ] || [[ "$out" == *"$version"* ]] || fail "$program --version is not $version: '$out'"
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/$program" --help | grep -qi usage ||
        fail "$program --help printed no usage"
done

err=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/spkedit" all.gdat --preset 99 2>&1) &&
    fail "spkedit --preset 99 was accepted"
[[ "$err" == *"--preset wants a number 1..20"* ]] || fail "spkedit --preset 99 printed '$err'"

# The Debian package: dependencies and the files under /usr.
if command -v cpack >/dev/null && command -v dpkg-deb >/dev/null; then
    (cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/deb" >/dev/null)
    deb=$(ls "$work"/deb/*.deb)
    info=$(dpkg-deb --info "$deb")
    echo "$info" | grep '^ Depends:'
    for dep in libqt6core6 libqt6gui6 libqt6widgets6 libqt6serialport6 libhidapi-hidraw0 libudev1; do
        echo "$info" | grep -q "^ Depends:.*\b$dep\b" || fail "package does not depend on $dep"
    done
    contents=$(dpkg-deb --contents "$deb")
    for f in usr/bin/spkedit usr/bin/spksim usr/bin/spktool usr/share/applications/spkedit.desktop \
             usr/share/mime/packages/spkedit.xml usr/lib/udev/rules.d/70-spkedit-hid.rules; do
        echo "$contents" | grep -q "\./$f\$" || fail "package lacks /$f"
    done
fi
echo "install checks passed"
