#!/bin/sh
# Builds the Linux edition as Debian packages a game and packs it into
# dist/quintaro_<version>_<arch>.deb:
#   /usr/games/quintaro                     the launcher (gives every user a folder of their own)
#   /usr/libexec/quintaro/quintaro          the program, stripped
#   /usr/share/games/quintaro/              the game's texts, sound, pictures and rules
#   /usr/share/applications, metainfo, icons/hicolor   the desktop entry, AppStream, icons
#   /usr/share/man/man6/quintaro.6.gz       the manual page
#   /usr/share/doc/quintaro/                copyright, changelog.gz
#   /usr/share/lintian/overrides/quintaro   why lintian's remaining remark does not apply
# The build is the deb preset (build/deb) with Debian's own compiler flags. Dependencies on
# shared libraries come from dpkg-shlibdeps; what the program loads at run time or needs
# besides is named in packaging/debian/control.in.
set -e
cd "$(dirname "$0")/.."
umask 022

version=$(sh tools/project-version.sh)
changelog=packaging/debian/changelog
# The changelog's newest entry is the release being packed.
newest=$(dpkg-parsechangelog -l "$changelog" -S Version)
if [ "$newest" != "$version" ]; then
    echo "package-deb.sh: $changelog starts with $newest, the project is $version" >&2
    exit 1
fi
arch=$(dpkg --print-architecture)
# Every time stamp is at most the changelog's date, whenever the package is built.
SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(dpkg-parsechangelog -l "$changelog" -S Timestamp)}
export SOURCE_DATE_EPOCH

# Debian's flags for a package: optimised, hardened (fortified, stack protector, full RELRO,
# immediate binding), build paths left out of the program.
DEB_BUILD_MAINT_OPTIONS=hardening=+all
export DEB_BUILD_MAINT_OPTIONS
cppflags=$(dpkg-buildflags --get CPPFLAGS)
cmake --preset deb \
    -DCMAKE_C_FLAGS="$(dpkg-buildflags --get CFLAGS) $cppflags" \
    -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CXXFLAGS) $cppflags" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build --preset deb

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root=$work/root
DESTDIR=$root cmake --install build/deb >/dev/null

program=$root/usr/libexec/quintaro/quintaro
# As Debian strips a program: the symbols and the compiler's notes go.
strip --remove-section=.comment --remove-section=.note "$program"

mkdir -p "$root/usr/share/man/man6" "$root/usr/share/doc/quintaro"
gzip -9n <packaging/debian/quintaro.6 >"$root/usr/share/man/man6/quintaro.6.gz"
gzip -9n <"$changelog" >"$root/usr/share/doc/quintaro/changelog.gz"
cp packaging/debian/copyright "$root/usr/share/doc/quintaro/copyright"
mkdir -p "$root/usr/share/lintian/overrides"
cp packaging/debian/lintian-overrides "$root/usr/share/lintian/overrides/quintaro"

# Only the programs are executable; nothing is writable but by its owner (root, in the
# archive).
find "$root" -type d -exec chmod 0755 {} +
find "$root" -type f -exec chmod 0644 {} +
chmod 0755 "$program" "$root/usr/games/quintaro"
find "$root" -newermt "@$SOURCE_DATE_EPOCH" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +

# dpkg-shlibdeps wants to run in a source package: an empty debian/control is enough.
mkdir -p "$work/src/debian"
: >"$work/src/debian/control"
shlibs=$(cd "$work/src" && dpkg-shlibdeps -O -e "$program" 2>"$work/shlibdeps.log" |
    sed -n 's/^shlibs:Depends=//p')
if [ -z "$shlibs" ]; then
    echo "package-deb.sh: dpkg-shlibdeps found no dependencies" >&2
    cat "$work/shlibdeps.log" >&2
    exit 1
fi
# SDL2 (the sound) is loaded at run time; Qt needs a platform plugin to open a window at all;
# the texts are drawn in Liberation Sans.
depends="$shlibs, libsdl2-2.0-0, qt6-qpa-plugins, fonts-liberation2"

mkdir -p "$root/DEBIAN"
(cd "$root" && find usr -type f -print0 | LC_ALL=C sort -z | xargs -0 md5sum) >"$root/DEBIAN/md5sums"
size=$(du -sk --apparent-size "$root/usr" | cut -f1)
sed -e "s/@VERSION@/$version/" -e "s/@ARCH@/$arch/" -e "s/@SIZE@/$size/" \
    -e "s/@DEPENDS@/$depends/" packaging/debian/control.in >"$root/DEBIAN/control"
chmod 0644 "$root/DEBIAN/control" "$root/DEBIAN/md5sums"
touch -d "@$SOURCE_DATE_EPOCH" "$root/DEBIAN" "$root/DEBIAN/control" "$root/DEBIAN/md5sums"

mkdir -p dist
deb=dist/quintaro_${version}_$arch.deb
rm -f "$deb"
dpkg-deb --root-owner-group -Zxz --build "$root" "$deb" >/dev/null
echo "$deb: $(wc -c <"$deb") bytes"
