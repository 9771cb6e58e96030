#!/usr/bin/env bash
# Installs the build into a temporary staging folder (DESTDIR) under the prefix /opt/portolan, and
# checks what a desktop and a file manager rely on: the installed files, the desktop entry and the
# AppStream metadata by their validators, and that the shared MIME database and the desktop database
# built from the installed files give .ptn files Portolan's type and Portolan as their program.
# Usage: InstallTest.sh SOURCE_FOLDER BUILD_FOLDER MIME_TYPE_OF
set -euo pipefail
source_folder="$1"
build_folder="$2"
mime_type_of="$3"
id=io.github.portolan.Portolan
type=application/x-portolan-sites
prefix=/opt/portolan

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
DESTDIR="$work/stage" cmake --install "$build_folder" --prefix "$prefix" >/dev/null
root="$work/stage$prefix"

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
# expect WHAT EXPECTED ACTUAL
expect() {
    [ "$2" = "$3" ] || fail "$1: expected '$2', got '$3'"
}

# Every file in its place, nothing else, and nothing outside the prefix.
sizes=(16 22 24 32 48 64 128 256)
expected=(
    bin/portolan
    share/applications/$id.desktop
    share/doc/portolan/changelog.gz
    share/doc/portolan/copyright
)
for size in "${sizes[@]}"; do
    expected+=("share/icons/hicolor/${size}x${size}/apps/$id.png")
done
expected+=(
    share/icons/hicolor/scalable/apps/$id.svg
    share/man/man1/portolan.1.gz
    share/metainfo/$id.metainfo.xml
    share/mime/packages/$id.xml
    share/portolan/prtln.hlp
)
expect "installed files" "$(printf '%s\n' "${expected[@]}" | sort)" \
    "$(cd "$root" && find . ! -type d | sed 's|^\./||' | sort)"
expect "files outside the prefix" "" "$(cd "$work/stage" && find . ! -type d ! -path ".$prefix/*")"
[ -x "$root/bin/portolan" ] || fail "bin/portolan is not executable"
cmp -s "$source_folder/docs/help/prtln.hlp" "$root/share/portolan/prtln.hlp" || fail "the manual differs"
gzip -t "$root/share/man/man1/portolan.1.gz" "$root/share/doc/portolan/changelog.gz" || fail "bad gzip file"

# Each PNG is as large as its folder says: width and height are the big-endian words at bytes 16
# and 20 of the file.
for size in "${sizes[@]}"; do
    png="$root/share/icons/hicolor/${size}x${size}/apps/$id.png"
    expect "size of the ${size} px icon" "$size $size" "$(od -An -tu1 -j16 -N8 "$png" |
        awk '{ print $1 * 16777216 + $2 * 65536 + $3 * 256 + $4, $5 * 16777216 + $6 * 65536 + $7 * 256 + $8 }')"
done

# The desktop entry and the metadata pass their validators and name each other, the type and the icon.
desktop="$root/share/applications/$id.desktop"
metainfo="$root/share/metainfo/$id.metainfo.xml"
desktop-file-validate "$desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$metainfo" >"$work/appstream.log" || {
    cat "$work/appstream.log" >&2
    fail "appstreamcli validate"
}
entry() { sed -n "s/^$1=//p" "$desktop"; }
expect "Exec" "portolan %f" "$(entry Exec)"
expect "MimeType" "$type;" "$(entry MimeType)"
expect "Icon" "$id" "$(entry Icon)"
expect "Categories" "Network;FileTransfer;" "$(entry Categories)"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" || fail "metainfo launchable"
grep -q "<mediatype>$type</mediatype>" "$metainfo" || fail "metainfo mediatype"
grep -q '<release version="1.3"' "$metainfo" || fail "metainfo release 1.3"

# The MIME database built from the installed package, beside a database of the freedesktop.org types
# alone (not the machine's, which may hold the package already), gives .ptn files the type, in either
# case of the extension; without the package they are plain bytes.
XDG_DATA_DIRS="$root/share" update-mime-database "$root/share/mime"
base="$work/base/share"
mkdir -p "$base/mime/packages" "$work/empty"
cp /usr/share/mime/packages/freedesktop.org.xml "$base/mime/packages/"
update-mime-database "$base/mime"
query() { XDG_DATA_HOME="$work/empty" XDG_DATA_DIRS="$1" "$mime_type_of" books.ptn TEAM.PTN notes.txt | tr '\n' ' '; }
expect "types with the package" "$type $type text/plain " "$(query "$root/share:$base")"
expect "types without the package" "application/octet-stream application/octet-stream text/plain " \
    "$(query "$base")"

# The desktop database built from the installed entry names Portolan as the program for the type.
update-desktop-database "$root/share/applications"
expect "program for the type" "$type=$id.desktop;" "$(grep "^$type=" "$root/share/applications/mimeinfo.cache")"

if [ "$failures" -ne 0 ]; then
    echo "$failures failed" >&2
    exit 1
fi
echo "the installed tree is complete and valid"
