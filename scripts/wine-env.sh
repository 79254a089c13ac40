# Sourced by the Wine scripts: the private prefix's environment and its one-time boot.
# Usage: . wine-env.sh PREFIX_DIR
export WINEPREFIX="$1"
export WINEARCH=win32
export WINEDEBUG="${WINEDEBUG:--all}"
# mscoree/mshtml would offer downloads; winemenubuilder would write desktop entries of the host;
# winedbg would attach to a crashed test and hold its output pipe open.
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder,winedbg.exe=d${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"

# Ends every process of this prefix, also when its wineserver is gone and can no longer be asked to.
# Wine's processes are found by their executable (qemu's emulator, Wine's loaders, the server) and by
# the prefix in their environment; the scripts that started them are left alone.
wine_prefix_kill() {
    wineserver -k >/dev/null 2>&1 </dev/null || true
    local dir exe
    for dir in /proc/[0-9]*; do
        exe=$(readlink "$dir/exe" 2>/dev/null) || continue
        case "$exe" in
        */qemu-i386-static | */wine-preloader | */wine64-preloader | */wineserver* | */wine | */wine64) ;;
        *) continue ;;
        esac
        if tr '\0' '\n' <"$dir/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX"; then
            kill -9 "${dir#/proc/}" 2>/dev/null || true
        fi
    done
}

wine_prefix_boot() {
    local done="$WINEPREFIX/.booted"
    [ -f "$done" ] && return 0
    mkdir -p "$(dirname "$WINEPREFIX")"
    (
        flock 9
        [ -f "$done" ] && exit 0
        # Under qemu a first boot now and then never finishes: its wineserver is gone and the setup
        # programs wait on it for ever. A boot takes 20-30 s there, so one that has not finished in
        # SK_WINE_BOOT_TIMEOUT seconds (180) is ended and started again from nothing, three times at most.
        limit=${SK_WINE_BOOT_TIMEOUT:-180}
        for attempt in 1 2 3; do
            wine_prefix_kill
            rm -rf "$WINEPREFIX"
            # Headless tests: the null graphics driver gives real windows, focus and dialogs without a
            # display. It is read when the desktop starts, so it goes in before any program runs for
            # real. SK_WINE_GRAPHICS=x11 keeps the X11 driver (the run command's prefix, for a window).
            # Without a window manager, each DestroyWindow would wait for one (Managed=N).
            if timeout "$limit" wineboot -i >/dev/null 2>&1 </dev/null &&
                timeout "$limit" wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics \
                    /d "${SK_WINE_GRAPHICS:-null}" /f >/dev/null 2>&1 </dev/null &&
                timeout "$limit" wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
                    >/dev/null 2>&1 </dev/null &&
                timeout "$limit" wineserver -w; then
                touch "$done"
                exit 0
            fi
            echo "wine-env: booting $WINEPREFIX did not finish within ${limit} s (attempt $attempt of 3)" >&2
        done
        wine_prefix_kill
        exit 1
    ) 9>"$WINEPREFIX.lock"
}
