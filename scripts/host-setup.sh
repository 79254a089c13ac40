#!/usr/bin/env bash
# Installs what building and testing need on Debian 12 (run as root), and makes sure this
# machine can execute 32-bit x86 programs, which 32-bit Wine is. Safe to run again.
set -euo pipefail

need=()
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }
for p in cmake ninja-build g++-mingw-w64-i686-posix googletest wine wine32:i386 wine32-preloader:i386 \
         wine64 xvfb imagemagick x11-apps x11-utils python3 genisoimage; do
    have "$p" || need+=("$p")
done
if [ ${#need[@]} -gt 0 ]; then
    dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
    apt-get update -q
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${need[@]}"
fi

# Some kernels (sandboxed VMs among them) refuse 32-bit executables outright. Wine's 32-bit loader
# then fails with "Exec format error"; qemu's user-mode emulator registered for 32-bit x86 ELF files
# through binfmt_misc runs it instead, transparently for every exec Wine makes.
probe=$(mktemp)
python3 - "$probe" <<'PY'
import struct, sys
code = bytes([0xb8, 1, 0, 0, 0, 0x31, 0xdb, 0xcd, 0x80])  # exit(0) through int 0x80
base, eh, ph = 0x08048000, 52, 32
head = b'\x7fELF' + bytes([1, 1, 1, 0]) + bytes(8)
head += struct.pack('<HHIIIIIHHHHHH', 2, 3, 1, base + eh + ph, eh, 0, 0, eh, ph, 1, 0, 0, 0)
size = eh + ph + len(code)
prog = struct.pack('<IIIIIIII', 1, 0, base, base, size, size, 5, 0x1000)
open(sys.argv[1], 'wb').write(head + prog + code)
PY
chmod +x "$probe"
if ! "$probe" 2>/dev/null; then
    have qemu-user-static || DEBIAN_FRONTEND=noninteractive apt-get install -y -q qemu-user-static
    mountpoint -q /proc/sys/fs/binfmt_misc || mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
    if [ ! -e /proc/sys/fs/binfmt_misc/qemu-i386 ]; then
        printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' \
            > /proc/sys/fs/binfmt_misc/register
    fi
    "$probe" || { echo "host-setup: this machine cannot run 32-bit x86 programs" >&2; rm -f "$probe"; exit 1; }
    echo "host-setup: 32-bit programs run through qemu-i386 (binfmt_misc)"
fi
rm -f "$probe"
