# Sourced by the Wine scripts: the private prefix's environment and its one-time boot.
# Usage: . wine-env.sh PREFIX_DIR
export WINEPREFIX="$1"
export WINEARCH=win32
export WINEDEBUG="${WINEDEBUG:--all}"
# mscoree/mshtml would offer downloads; winemenubuilder would write desktop entries of the host;
# winedbg would attach to a crashed test and hold its output pipe open.
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder,winedbg.exe=d${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"

wine_prefix_boot() {
    local done="$WINEPREFIX/.booted"
    [ -f "$done" ] && return 0
    mkdir -p "$(dirname "$WINEPREFIX")"
    (
        flock 9
        [ -f "$done" ] && exit 0
        rm -rf "$WINEPREFIX"
        wineboot -i >/dev/null 2>&1 </dev/null
        # Headless tests: the null graphics driver gives real windows, focus and dialogs without a
        # display. It is read when the desktop starts, so it goes in before any program runs for real.
        # SK_WINE_GRAPHICS=x11 keeps the X11 driver (the run command's prefix, for a visible window).
        wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d "${SK_WINE_GRAPHICS:-null}" /f \
            >/dev/null 2>&1 </dev/null
        # Without a window manager, each DestroyWindow would wait for one.
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 </dev/null
        wineserver -w
        touch "$done"
    ) 9>"$WINEPREFIX.lock"
}
