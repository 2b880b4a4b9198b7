#!/usr/bin/env bash
# Takes the picture of the main window shown in the README: the program runs under a virtual
# X server at 1280x800, searches the bundled samples/ folder, and the screen is saved as
# docs/images/main-window.png. Needs xvfb, xdotool and imagemagick.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=${LINKTRAWL_BUILD_DIR:-build}
out=${1:-$root/docs/images/main-window.png}
program=$root/$build/linktrawl
if [ ! -x "$program" ]; then
    echo "screenshot: $program is missing; build it first (scripts/setup.sh)" >&2
    exit 1
fi
for tool in Xvfb xdotool import; do
    command -v "$tool" >/dev/null || { echo "screenshot: $tool is missing (apt-get install xvfb xdotool imagemagick)" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'kill "${app:-}" "${xvfb:-}" 2>/dev/null || true; rm -rf "$work"' EXIT
# A fresh INI: the window fills the screen, alternate rows shaded, file date and size shown.
cat >"$work/linktrawl.ini" <<'INI'
[LTSfile]
U0=1
[OPTIONS]
R12=0000010
[WPOS]
WPS01=000000000001280008000000000000000000000000000000000000000000
WPS05=005000026000460000000000000000
INI

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
sleep 1
export DISPLAY=$display HOME=$work XDG_CONFIG_HOME=$work/.config LINKTRAWL_INI=$work/linktrawl.ini
export XDG_RUNTIME_DIR=$work QT_QPA_PLATFORM=xcb
"$program" "$root/samples" >/dev/null 2>&1 &
app=$!

# Wait for the window, then answer the result message of the search.
for _ in $(seq 1 50); do
    xdotool search --onlyvisible --pid "$app" >/dev/null 2>&1 && break
    sleep 0.2
done
sleep 3
for window in $(xdotool search --onlyvisible --pid "$app" 2>/dev/null); do
    name=$(xdotool getwindowname "$window" 2>/dev/null || true)
    if [ "$name" != "LinkTrawl" ]; then
        xdotool windowfocus --sync "$window" key --clearmodifiers Return 2>/dev/null || true
    fi
done
sleep 1
# Select a few rows so that the picture shows the selection colours too.
main=$(xdotool search --onlyvisible --name '^LinkTrawl$' 2>/dev/null | head -1 || true)
if [ -n "$main" ]; then
    xdotool mousemove --window "$main" 300 120 click 1 2>/dev/null || true
fi
sleep 1
mkdir -p "$(dirname "$out")"
import -display "$display" -window root "$out"
echo "Saved $out"
