#!/usr/bin/env bash
# Builds the demo CD image and reads it back with isoinfo, as a burner or a mount would see it: the
# tree under both the Rock Ridge and the Joliet names, the volume label, and every file equal to the
# one it was made from. Usage: check-cd-image.sh BUILD_DIR
set -euo pipefail
build=$1
image="$build/skellion-cd.iso"
cmake --build "$build" --target demo_iso >/dev/null

expected='/Vorrow
/Vorrow/vorrow.exe
/autorun.inf
/dsetup.dll
/launcher.exe
/setup
/setup/setup.exe'
status=0
for names in -R -J; do
    listed=$(isoinfo -f "$names" -i "$image" | LC_ALL=C sort)
    if [ "$listed" != "$expected" ]; then
        echo "the image's tree ($names names) is not the CD's:"
        diff <(echo "$expected") <(echo "$listed") || true
        status=1
    fi
done
if ! isoinfo -d -i "$image" | grep -qx 'Volume id: SKELLION'; then
    echo "the volume label is not SKELLION"
    status=1
fi
for file in launcher.exe dsetup.dll autorun.inf setup/setup.exe Vorrow/vorrow.exe; do
    if ! cmp -s <(isoinfo -R -i "$image" -x "/$file") "$build/cd/$file"; then
        echo "/$file in the image differs from $build/cd/$file"
        status=1
    fi
done
[ "$status" = 0 ] && echo "the image holds the CD's tree: $(echo "$expected" | wc -l) entries, label SKELLION"
exit "$status"
