#!/usr/bin/env bash
# Shows Obrello on a virtual screen (Xvfb, Wine's virtual desktop) and saves a
# picture of it: PACK, a file in res/lngs/ ("" for none); BUILD, windows (the
# shipped program, the default) or windows64.
#   screenshot.sh OUT.png [PACK.lng [BUILD]]
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
coproc Xvfb -displayfd 1 -screen 0 1024x768x24 2>/dev/null
cleanup() {
    "$WINESERVER" -k 2>/dev/null || true
    kill "${COPROC_PID:-}" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
read -r -t 10 display <&"${COPROC[0]}" # Xvfb names a free display once it takes connections
export DISPLAY=:$display
[ -d "$WINEPREFIX" ] || { "$WINELOADER" wineboot -i >/dev/null 2>&1; "$WINESERVER" -w; }
# The caption buttons are drawn with Marlett.
cp -n /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true

(cd "$work" && "$WINELOADER" explorer /desktop=Obrello,640x520 Obrello.exe >/dev/null 2>&1 &)
timeout 60 xdotool search --sync --onlyvisible --name '^Obrello v3\.1' windowfocus --sync
# Fill in an example as a user would: the focus starts in the language box.
xdotool key Tab type "mailto:jane@example.com"
xdotool key Tab Tab Tab type "Write to Jane"
# Crypt by the keyboard, whatever the pack calls it; done once the picture changes and holds still.
screen() { sleep 0.2; import -window root rgb:- | md5sum; }
before=$(screen) last='' SECONDS=0
xdotool key Tab Tab space
until now=$(screen) && [ "$now" != "$before" ] && [ "$now" = "$last" ] || ((SECONDS > 30)); do last=$now; done
# Keep only the window: trim the desktop's plain background around it.
import -window root -crop 640x520+0+0 +repage -trim +repage "$out"
echo "Saved $out"
