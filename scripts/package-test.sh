#!/usr/bin/env bash
# The Debian package of build/ made with CPack, checked as a user's machine
# would get it: lintian finds no error, the unpacked files are all there, the
# desktop entry, the metainfo and the file type are valid, the manual pages
# render, and the unpacked tarnik-cli runs an example.
source "$(dirname "$0")/setup.sh"

# dpkg-shlibdeps (dpkg-dev) and file work out the dependencies for CPack.
tarnik_install_missing dpkg-dev file lintian desktop-file-utils appstream shared-mime-info man-db
tarnik_build
(cd "$TARNIK_BUILD" && cpack -G DEB > cpack.log) || { cat "$TARNIK_BUILD/cpack.log"; exit 1; }
deb="$(ls -t "$TARNIK_BUILD"/tarnik_*.deb | head -n 1)"
echo "== $deb"

root="$(mktemp -d)"
trap 'rm -rf "$root"' EXIT
dpkg -x "$deb" "$root"
id=io.github.tarnik.Tarnik

has_files() {
    local file missing=0
    for file in "$@"; do
        [ -f "$root/usr/$file" ] || { echo "missing: /usr/$file"; missing=1; }
    done
    return "$missing"
}

# Renders a manual page as man would, failing on any warning of groff's but
# those about Chinese lines, which have no blanks to stretch or break at.
renders() {
    local warnings
    warnings="$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l "$1" 2>&1 > /dev/null)"
    [[ "$1" == */zh_CN/* ]] && warnings="$(grep -Ev "cannot adjust line|can't break line" <<< "$warnings")"
    [ -z "$warnings" ] || { echo "$warnings"; false; }
}

# The shared-mime-info database built from our file alone knows *.tnk and *.bas.
declares_tnk() {
    mkdir -p "$root/mime/packages"
    cp "$root/usr/share/mime/packages/$id.xml" "$root/mime/packages/"
    update-mime-database "$root/mime" > /dev/null 2>&1 && grep -q 'text/x-tarnik:\*\.tnk' "$root/mime/globs" && grep -q 'text/x-tarnik:\*\.bas' "$root/mime/globs"
}

runs_example() {
    "$root/usr/bin/tarnik-cli" run "$root/usr/share/tarnik/examples/primes.bas" |
        cmp - "$TARNIK_ROOT/examples/primes.out"
}

prints_version() {
    [ "$("$root/usr/bin/tarnik-cli" --version)" = "tarnik-cli $(dpkg-deb --field "$deb" Version)" ]
}

tarnik_check "lintian" lintian --fail-on error "$deb"
tarnik_check "files" has_files bin/tarnik bin/tarnik-cli \
    "share/applications/$id.desktop" "share/metainfo/$id.metainfo.xml" "share/mime/packages/$id.xml" \
    "share/icons/hicolor/scalable/apps/$id.svg" \
    "share/icons/hicolor/"{16x16,24x24,32x32,48x48,64x64,128x128,256x256}"/apps/$id.png" \
    share/man/man1/tarnik.1.gz share/man/man1/tarnik-cli.1.gz \
    share/man/zh_CN/man1/tarnik.1.gz share/man/zh_CN/man1/tarnik-cli.1.gz \
    share/doc/tarnik/copyright share/doc/tarnik/changelog.gz \
    share/tarnik/examples/primes.bas share/tarnik/examples/primes.out
tarnik_check "desktop entry" desktop-file-validate "$root/usr/share/applications/$id.desktop"
tarnik_check "metainfo" appstreamcli validate --no-net --pedantic "$root/usr/share/metainfo/$id.metainfo.xml"
tarnik_check "file type" declares_tnk
for page in "$root"/usr/share/man/{,zh_CN/}man1/*.1.gz; do
    tarnik_check "manual page ${page#"$root"}" renders "$page"
done
tarnik_check "tarnik-cli --version" prints_version
tarnik_check "tarnik-cli run primes.bas" runs_example

tarnik_checks_done "Package"
