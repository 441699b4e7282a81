#!/usr/bin/env bash
# fetch-libjpeg-turbo.sh FOLDER: unpacks Debian's source package of libjpeg-turbo (the maker's
# JPEG decoder) into FOLDER/libjpeg-turbo, once: a later run finds it there and does nothing.
# Debian builds the library for Linux only, so both builds compile it from the same sources.
# apt works from a sources list, lists and cache of its own under FOLDER: the machine's apt
# configuration and package lists are neither read nor changed.
set -euo pipefail
folder=$(mkdir -p "$1" && cd "$1" && pwd)
sources=$folder/libjpeg-turbo
upstream_version=2.1.5

[ -f "$sources/.unpacked" ] && exit 0
# The host and the Windows builds may share the folder: one fetch at a time.
exec 9>"$folder/.fetch.lock"
flock 9
[ -f "$sources/.unpacked" ] && exit 0

apt_dir=$folder/apt
mkdir -p "$apt_dir/lists/partial" "$apt_dir/parts" "$apt_dir/cache/archives/partial"
echo 'deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg]' \
    'http://deb.debian.org/debian bookworm main' >"$apt_dir/sources.list"
apt_options=(-qq
    -o "Dir::Etc::SourceList=$apt_dir/sources.list" -o "Dir::Etc::SourceParts=$apt_dir/parts"
    -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache"
    -o APT::Sandbox::User=root)

fail() {
    echo "fetch-libjpeg-turbo.sh: $*" >&2
    exit 1
}

download=$folder/download
rm -rf "$download"
mkdir -p "$download"
# apt checks each file against the archive's signed index.
if ! apt-get "${apt_options[@]}" update ||
    ! (cd "$download" && apt-get "${apt_options[@]}" source --download-only libjpeg-turbo); then
    fail "Debian's source package of libjpeg-turbo could not be fetched from deb.debian.org" \
        "(is this machine offline?); the maker needs it to decode JPEG pictures"
fi
dsc=$(find "$download" -name "libjpeg-turbo_${upstream_version}-*.dsc" | head -n 1)
[ -n "$dsc" ] || fail "Debian's source package is no longer libjpeg-turbo $upstream_version:" \
    "$(ls "$download")"

# dpkg-source checks the tarballs against the checksums that the .dsc lists, then applies
# Debian's patches. It cannot check the .dsc's signature without Debian's developer keys, and
# says so: apt has already checked the file itself.
rm -rf "$sources"
if ! (cd "$download" && dpkg-source --no-copy -x "$(basename "$dsc")" "$sources") \
    >"$download/unpack.log" 2>&1; then
    cat "$download/unpack.log" >&2
    fail "Debian's source package of libjpeg-turbo in $download could not be unpacked"
fi
basename "$dsc" .dsc >"$sources/.unpacked"
echo "fetch-libjpeg-turbo.sh: $(cat "$sources/.unpacked") unpacked in $sources"
