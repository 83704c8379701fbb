#!/bin/sh
# Builds both packages and checks them, installing nothing on this machine:
#   sh tools/test-packages.sh [deb] [windows]      (no argument: both)
# deb: lintian, the archive's paths and permissions, the control fields, the desktop's
#   validators on the unpacked desktop entry and AppStream file, the launcher's way to the
#   program and the files.
# windows: under Wine, in a prefix of its own (build/package-test/wine), a silent install,
#   its registry entry and shortcut, the game started through the shortcut, an upgrade
#   that keeps settings.ini, and a silent uninstall that removes everything but settings.ini.
#   It needs a display and starts its own Xvfb when there is none.
# Exits non-zero when a check fails, with every failed check named.
set -e
cd "$(dirname "$0")/.."
parts=${*:-deb windows}
case " $parts " in
    *" windows "*)
        if [ -z "$DISPLAY" ]; then
            # Wine's windows need a display: the game is started for real.
            exec xvfb-run -a -s '-screen 0 1024x768x24' sh "$0" "$@"
        fi
        ;;
esac
version=$(sh tools/project-version.sh)
app_id=io.github.quintaro.Quintaro
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    printf 'FAIL: %s\n' "$*" >&2
    failures=$((failures + 1))
}

test_deb() {
    sh tools/package-deb.sh
    deb=dist/quintaro_${version}_$(dpkg --print-architecture).deb

    # Debian's checker: no error, and no warning that is not overridden with its reason
    # (packaging/debian/lintian-overrides).
    if ! lintian --fail-on error,warning "$deb" >"$work/lintian" 2>&1; then
        fail "lintian: $(cat "$work/lintian")"
    fi

    # Every file, with its permissions and owner; nothing else is packed.
    dpkg-deb --contents "$deb" >"$work/contents"
    awk '$1 !~ /^d/ { print $1, $2, $6 }' "$work/contents" | LC_ALL=C sort >"$work/files"
    data=./usr/share/games/quintaro
    LC_ALL=C sort >"$work/expected" <<EOF
-rwxr-xr-x root/root ./usr/games/quintaro
-rwxr-xr-x root/root ./usr/libexec/quintaro/quintaro
-rw-r--r-- root/root ./usr/share/applications/$app_id.desktop
-rw-r--r-- root/root ./usr/share/metainfo/$app_id.metainfo.xml
-rw-r--r-- root/root ./usr/share/icons/hicolor/32x32/apps/quintaro.png
-rw-r--r-- root/root ./usr/share/icons/hicolor/128x128/apps/quintaro.png
-rw-r--r-- root/root ./usr/share/man/man6/quintaro.6.gz
-rw-r--r-- root/root ./usr/share/doc/quintaro/copyright
-rw-r--r-- root/root ./usr/share/doc/quintaro/changelog.gz
-rw-r--r-- root/root ./usr/share/lintian/overrides/quintaro
-rw-r--r-- root/root $data/en.lang
-rw-r--r-- root/root $data/de.lang
-rw-r--r-- root/root $data/bg.lang
-rw-r--r-- root/root $data/dice.wav
-rw-r--r-- root/root $data/pvp_0.jpg
-rw-r--r-- root/root $data/pvc_0.jpg
-rw-r--r-- root/root $data/rules.txt
-rw-r--r-- root/root $data/quintaro.png
-rw-r--r-- root/root $data/quintaro.ico
EOF
    if ! diff -u "$work/expected" "$work/files" >"$work/diff"; then
        fail "the package's files (expected, packed): $(cat "$work/diff")"
    fi
    if awk '$1 ~ /^d/ && ($1 != "drwxr-xr-x" || $2 != "root/root") { bad = 1; print }
            END { exit !bad }' "$work/contents"; then
        fail "folders not drwxr-xr-x root/root (above)"
    fi

    for field in Package:quintaro Version:$version Section:games Priority:optional; do
        value=$(dpkg-deb -f "$deb" "${field%%:*}")
        [ "$value" = "${field#*:}" ] || fail "${field%%:*} is '$value', not '${field#*:}'"
    done
    # The libraries the program links (found by dpkg-shlibdeps), and what it loads or needs
    # besides.
    dpkg-deb -f "$deb" Depends | tr ',' '\n' | sed 's/^ *//; s/[ (].*//' >"$work/depends"
    for package in libqt6core6 libqt6gui6 libqt6widgets6 libjpeg62-turbo libc6 libstdc++6 \
        libsdl2-2.0-0 qt6-qpa-plugins fonts-liberation2; do
        grep -qx "$package" "$work/depends" || fail "Depends does not name $package"
    done

    root=$work/deb
    dpkg-deb -x "$deb" "$root"
    desktop=$root/usr/share/applications/$app_id.desktop
    desktop-file-validate "$desktop" || fail "desktop-file-validate $desktop"
    appstreamcli validate --no-net "$root/usr/share/metainfo/$app_id.metainfo.xml" \
        >"$work/appstream" 2>&1 || fail "appstreamcli: $(cat "$work/appstream")"
    grep -qx 'Exec=/usr/games/quintaro' "$desktop" || fail "the desktop entry's Exec: $(grep '^Exec' "$desktop")"
    # The launcher finds the program and the files relative to its own folder.
    launcher=$root/usr/games/quintaro
    program=$(sed -n 's|^program=\$bindir/||p' "$launcher")
    files=$(sed -n 's|^datadir=\$bindir/||p' "$launcher")
    [ -x "$root/usr/games/$program" ] || fail "the launcher's program $program is not in the package"
    [ -f "$root/usr/games/$files/rules.txt" ] || fail "the launcher's files $files are not in the package"
}

# --- Windows -------------------------------------------------------------------------------

wine_run() {
    QUINTARO_WINEPREFIX=$prefix sh tools/wine-run.sh "$@"
}
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quintaro'
# One value of the uninstall entry, as "TYPE data".
registry_value() {
    wine_run reg query "$uninstall_key" /v "$1" 2>/dev/null | tr -d '\r' |
        sed -n "s/^ *$1 \{4\}\(REG_[A-Z_]*\) \{4\}\(.*\)$/\1 \2/p"
}
# Waits until the shell command $1 succeeds, at most a minute.
wait_until() {
    i=0
    while [ $i -lt 60 ]; do
        eval "$1" && return 0
        sleep 1
        i=$((i + 1))
    done
    return 1
}
window_shown() {
    xwininfo -root -tree | grep -qF "\"$1\""
}
uninstalled() {
    [ "$(ls -A "$dir" 2>/dev/null)" = settings.ini ] && [ ! -e "$shortcut" ] &&
        [ -z "$(registry_value DisplayName)" ]
}

test_windows() {
    sh tools/package-windows.sh
    setup=$(pwd)/dist/quintaro-$version-setup.exe
    prefix=$(pwd)/build/package-test/wine
    mkdir -p "$prefix"
    # What an earlier run may have left: the prefix is kept, its installation is not.
    wine_run reg delete "$uninstall_key" /f >/dev/null 2>&1 || true
    profile=$(wine_run winepath -u 'C:\users' | tr -d '\r')/$(wine_run cmd /c echo %USERNAME% | tr -d '\r')
    rm -rf "$profile/AppData/Local/Programs/Quintaro"
    rm -f "$profile/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Quintaro.lnk"

    # The installer returns when it is done.
    wine_run "$setup" /S || fail "the silent install ended with $?"

    folder=$(registry_value InstallLocation | sed -n 's/^REG_SZ //p')
    case $folder in
        *'\AppData\Local\Programs\Quintaro') ;;
        *) fail "InstallLocation is '$folder'" ;;
    esac
    dir=$(wine_run winepath -u "$folder" | tr -d '\r')
    dir=${dir%/}
    for value in "DisplayName:REG_SZ Quintaro" "DisplayVersion:REG_SZ $version" \
        "Publisher:REG_SZ The Quintaro developers" \
        "DisplayIcon:REG_SZ $folder\\quintaro.exe,0" \
        "UninstallString:REG_SZ \"$folder\\uninstall.exe\"" \
        "QuietUninstallString:REG_SZ \"$folder\\uninstall.exe\" /S" \
        "NoModify:REG_DWORD 0x1" "NoRepair:REG_DWORD 0x1"; do
        actual=$(registry_value "${value%%:*}")
        [ "$actual" = "${value#*:}" ] || fail "${value%%:*} is '$actual', not '${value#*:}'"
    done
    # At least the program's own size, in KiB.
    size=$(registry_value EstimatedSize | sed -n 's/^REG_DWORD 0x//p')
    [ -n "$size" ] && [ $((0x$size)) -ge $(($(wc -c <build/windows/game/quintaro.exe) / 1024)) ] ||
        fail "EstimatedSize is '$size'"

    # The zip's files, byte for byte.
    zip=$(pwd)/dist/quintaro-windows-x64.zip
    mkdir "$work/zip"
    (cd "$work/zip" && cmake -E tar xf "$zip")
    for file in "$work"/zip/*; do
        cmp -s "$file" "$dir/${file##*/}" || fail "installed ${file##*/} differs from the zip's"
    done
    [ -f "$dir/uninstall.exe" ] || fail "no uninstall.exe in $dir"

    shortcut=$profile/AppData/Roaming/Microsoft/Windows/Start\ Menu/Programs/Quintaro.lnk
    if [ -f "$shortcut" ]; then
        # The working folder is stored as a counted UTF-16 string: the count, then the path.
        strings -el "$shortcut" | cut -c2- >"$work/shortcut"
        grep -qxF "$folder" "$work/shortcut" || fail "the shortcut's working folder is not $folder"
        grep -qxF "$folder\\quintaro.exe" "$work/shortcut" || fail "the shortcut has not the game's icon"
    else
        fail "no Start-menu shortcut"
    fi

    # An upgrade over the installation keeps the player's settings.
    printf 'lang = de\r\n' >"$dir/settings.ini"
    cp "$dir/settings.ini" "$work/settings.ini"
    wine_run "$setup" /S || fail "the upgrade ended with $?"
    cmp -s "$dir/settings.ini" "$work/settings.ini" || fail "the upgrade changed settings.ini"

    # Started through the shortcut, the game finds its files and the settings in its folder:
    # the new-game dialog comes up titled in German.
    title=$(sed -n 's/^gameMode = //p' assets/de.lang | tr -d '\r')
    if [ -f "$shortcut" ]; then
        wine_run start "$(wine_run winepath -w "$shortcut" | tr -d '\r')" >>"$work/wine.log" 2>&1 ||
            fail "start Quintaro.lnk ended with $?"
        wait_until "window_shown '$title'" ||
            fail "no window '$title' from the game started through the shortcut"
        # Asks the game's windows to close, as the window's close box does.
        wine_run taskkill /im quintaro.exe >>"$work/wine.log" 2>&1 || true
        wait_until "! window_shown '$title'" || fail "the game did not close"
    fi

    # A silent uninstall removes everything it installed and keeps settings.ini (as the game
    # may have saved it).
    cp "$dir/settings.ini" "$work/settings.ini" 2>/dev/null || true
    wine_run "$dir/uninstall.exe" /S || fail "the silent uninstall ended with $?"
    # The uninstaller goes on in a copy of itself, so that it can remove the original.
    wait_until uninstalled || true
    remaining=$(ls -A "$dir" 2>/dev/null || true)
    [ "$remaining" = settings.ini ] || fail "after the uninstall $dir holds: $remaining"
    cmp -s "$dir/settings.ini" "$work/settings.ini" || fail "the uninstall changed settings.ini"
    [ ! -e "$shortcut" ] || fail "the uninstall left the shortcut"
    [ -z "$(registry_value DisplayName)" ] || fail "the uninstall left the registry entry"
    # Nothing of the prefix stays running.
    WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
}

for part in $parts; do
    case $part in
        deb) test_deb ;;
        windows) test_windows ;;
        *)
            echo "usage: sh tools/test-packages.sh [deb] [windows]" >&2
            exit 2
            ;;
    esac
done
if [ $failures -ne 0 ]; then
    echo "test-packages.sh: $failures check(s) failed" >&2
    exit 1
fi
echo "test-packages.sh: $parts: all checks passed"
