#!/usr/bin/env bash
# Installs what is missing, lays out the demo CD (build/cd, the demo_cd target) and starts the
# launcher under Wine from that folder mapped as a CD-ROM drive E: of a prefix of its own, so the
# user meets the real first run. With no display it runs on a private Xvfb, saves a screenshot of
# the dialog to the path it prints, and quits. SK_BUILD_DIR chooses another build folder.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${SK_BUILD_DIR:-$root/build}
bash "$root/scripts/host-setup.sh"
cmake -S "$root" -B "$build" -G Ninja >/dev/null
cmake --build "$build" --target demo_cd

# A prefix of its own with the X11 driver; the tests' prefix draws nothing.
export SK_WINE_GRAPHICS=x11
. "$root/scripts/wine-env.sh" "$build/wineprefix-run"
wine_prefix_boot
# A session left from an earlier run would keep its old drive table.
wineserver -k >/dev/null 2>&1 || true
wineserver -w
ln -sfn "$build/cd" "$WINEPREFIX/dosdevices/e:"
# The mount manager reads drive types when it starts, so the type goes in before the session does.
if ! grep -q '"e:"="cdrom"' "$WINEPREFIX/system.reg" 2>/dev/null; then
    wine reg add 'HKLM\Software\Wine\Drives' /v e: /d cdrom /f >/dev/null 2>&1 </dev/null
    wineserver -w
fi

# Started from the disc, as Explorer would start it: the current directory is the drive's root.
cd "$build/cd"
if [ -n "${DISPLAY:-}" ]; then
    exec wine 'E:\launcher.exe' "$@"
fi

shot="$build/launcher-screenshot.png"
exec 3>"$build/xvfb.display"
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp >/dev/null 2>&1 </dev/null &
xvfb=$!
trap 'wineserver -k >/dev/null 2>&1 || true; kill $xvfb 2>/dev/null || true' EXIT
for _ in $(seq 1 100); do
    [ -s "$build/xvfb.display" ] && break
    sleep 0.1
done
export DISPLAY=":$(head -n1 "$build/xvfb.display")"
wine 'E:\launcher.exe' "$@" >/dev/null 2>&1 </dev/null &
for _ in $(seq 1 300); do
    xwininfo -name Skellion >/dev/null 2>&1 && break
    sleep 0.2
done
sleep 2 # let the dialog finish painting
import -display "$DISPLAY" -window root "$shot"
echo "screenshot: $shot"
