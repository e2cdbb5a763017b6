#!/usr/bin/env bash
# Shows Obrello on a virtual screen (Xvfb, Wine's virtual desktop) and saves a
# picture of it.
#   screenshot.sh OUT.png [PACK.lng [BUILD]]
#   PACK: a file in res/lngs/ to show ("" for none); BUILD: windows (the
#   default, the shipped 32-bit program) or windows64
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-host.sh
out=$(realpath -m "$1")
pack=${2:-}
build=${3:-windows}
arch=$(wine_arch_of_build "$build")

scripts/setup.sh --screenshot

# A fresh folder, as a user would unpack the program, optionally set to a pack.
work=$(mktemp -d)
cp "build/$build/Obrello.exe" "$work/"
mkdir "$work/Lngs"
cp res/lngs/*.lng "$work/Lngs/"
if [ -n "$pack" ]; then
    printf '[Options]\r\nLanguageFile=%s\r\n' "$pack" >"$work/Obrello.ini"
fi

wine_environment "$arch" "$PWD/build/wine-screenshot-$arch"
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1024x768x24 >/dev/null 2>&1 &
xvfb=$!
cleanup() {
    "$WINESERVER" -k 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
export DISPLAY=$display
sleep 1
[ -d "$WINEPREFIX" ] || { "$WINELOADER" wineboot -i >/dev/null 2>&1; "$WINESERVER" -w; }
# The caption buttons are drawn with Marlett.
cp -n /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true

(cd "$work" && "$WINELOADER" explorer /desktop=Obrello,400x460 Obrello.exe >/dev/null 2>&1 &)
sleep 6
# Fill in an example as a user would: the focus starts in the language box.
xdotool key Tab type "mailto:jane@example.com"
xdotool key Tab Tab Tab type "Write to Jane"
xdotool mousemove 164 355 click 1 # the Crypt button, whatever its label
sleep 1
# Keep only the window: trim the desktop's plain background around it.
import -window root -crop 400x460+0+0 +repage -trim +repage "$out"
echo "Saved $out"
