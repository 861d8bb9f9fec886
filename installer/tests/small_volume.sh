#!/usr/bin/env bash
# small_volume.sh mount|unmount win64|win32 MOUNTPOINT: a volume of one
# megabyte, smaller than the payload, that the test prefix's Wine sees as
# drive S: (a tmpfs, so it needs root, as the 32-bit Wine already does).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
action=$1 arch=$2 mountpoint=$3
case "$arch" in
  win64) prefix="${QUIMORA_WINE_ROOT:-$root/build/wine}/prefix" ;;
  win32) prefix="$root/build/wine32/prefix" ;;
  *) echo "small_volume.sh: no Wine for $arch" >&2; exit 64 ;;
esac
sudo=
[ "$(id -u)" -eq 0 ] || sudo=sudo
case "$action" in
  mount)
    # The drive goes into a prefix that Wine has made; a folder made here
    # first would pass for a prefix that is not there.
    if [ ! -d "$prefix/drive_c" ]; then
      echo "small_volume.sh: no Wine prefix at $prefix" >&2
      exit 1
    fi
    mkdir -p "$mountpoint"
    if mountpoint -q "$mountpoint"; then $sudo umount "$mountpoint"; fi
    $sudo mount -t tmpfs -o size=1m,mode=0777 quimora-small-volume "$mountpoint"
    ln -sfn "$mountpoint" "$prefix/dosdevices/s:"
    ;;
  unmount)
    [ -L "$prefix/dosdevices/s:" ] && rm -f "$prefix/dosdevices/s:"
    if mountpoint -q "$mountpoint"; then $sudo umount "$mountpoint"; fi
    ;;
  *) echo "usage: small_volume.sh mount|unmount win64|win32 MOUNTPOINT" >&2; exit 64 ;;
esac
