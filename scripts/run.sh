#!/usr/bin/env bash
# Installs what is missing, builds, and starts the launcher under Wine from a folder laid out like
# the CD (build/cd). With no display it runs on a private Xvfb, saves a screenshot of the dialog to
# the path it prints, and quits.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/host-setup.sh"
cmake -S "$root" -B "$root/build" -G Ninja >/dev/null
cmake --build "$root/build" --target launcher

cd_dir="$root/build/cd"
mkdir -p "$cd_dir"
# The launcher binds dsetup.dll when it is loaded: it lies beside it on the CD.
cp "$root/build/bin/launcher.exe" "$root/build/bin/dsetup.dll" "$cd_dir/"

# A prefix of its own with the X11 driver; the tests' prefix draws nothing.
export SK_WINE_GRAPHICS=x11
. "$root/scripts/wine-env.sh" "$root/build/wineprefix-run"

if [ -n "${DISPLAY:-}" ]; then
    wine_prefix_boot
    exec wine "$cd_dir/launcher.exe" "$@"
fi

shot="$root/build/launcher-screenshot.png"
exec 3>"$root/build/xvfb.display"
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp >/dev/null 2>&1 </dev/null &
xvfb=$!
trap 'wineserver -k >/dev/null 2>&1 || true; kill $xvfb 2>/dev/null || true' EXIT
for _ in $(seq 1 100); do
    [ -s "$root/build/xvfb.display" ] && break
    sleep 0.1
done
export DISPLAY=":$(head -n1 "$root/build/xvfb.display")"
wine_prefix_boot
wine "$cd_dir/launcher.exe" "$@" >/dev/null 2>&1 </dev/null &
for _ in $(seq 1 300); do
    xwininfo -name Skellion >/dev/null 2>&1 && break
    sleep 0.2
done
sleep 2 # let the dialog finish painting
import -display "$DISPLAY" -window root "$shot"
echo "screenshot: $shot"
