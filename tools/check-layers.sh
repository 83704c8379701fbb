#!/bin/sh
# Checks that no include goes up the layers of the game. Lowest first:
#   settings, media  <  state  <  rules  <  cpu, coach  <  shell  <  qt, win32, web
# A file may include its own layer and any lower one. Prints every include that goes up and
# exits 1 when there is one.
cd "$(dirname "$0")/.." || exit 2
rank() {
    case "$1" in
        settings | media) echo 0 ;;
        state) echo 1 ;;
        rules) echo 2 ;;
        cpu | coach) echo 3 ;;
        shell) echo 4 ;;
        qt | win32 | web) echo 5 ;;
        *) echo "" ;;
    esac
}
status=0
for folder in settings media state rules cpu coach shell qt win32 web; do
    [ -d "$folder" ] || continue
    own=$(rank "$folder")
    for file in $(find "$folder" -name '*.h' -o -name '*.cpp' | sort); do
        for included in $(sed -n 's/^#include "\([a-z0-9]*\)\/.*/\1/p' "$file" | sort -u); do
            other=$(rank "$included")
            [ -n "$other" ] || continue
            # Front ends and the computer-level folders do not include each other.
            if [ "$other" -gt "$own" ] || { [ "$other" -eq "$own" ] && [ "$included" != "$folder" ] && [ "$own" -ge 3 ]; }; then
                echo "$file includes $included/ (a layer above or beside $folder/)"
                status=1
            fi
        done
    done
done
[ $status -eq 0 ] && echo "layers: no include goes up"
exit $status
