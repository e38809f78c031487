#!/bin/sh
# Makes two settings folders that take no new file, as an installer's access list can make them:
# one with a settings.cfg in it, one without. Wine enforces no access lists, so the folders are
# made immutable on the Linux side (chattr +i, which needs root): their files can still be
# written, but nothing can be added, renamed or removed. With "undo" they are removed again.
# Usage: immutable-folders.sh FOLDER [undo]
set -eu
root=$1
if [ -d "$root" ]; then
  chattr -R -i "$root"
  rm -rf "$root"
fi
[ "${2:-}" = undo ] && exit 0
mkdir -p "$root/with-file/Kerrowind/DRAV" "$root/without-file/Kerrowind/DRAV"
printf '"Old" "1"\r\n' >"$root/with-file/Kerrowind/DRAV/settings.cfg"
chattr +i "$root/with-file/Kerrowind/DRAV" "$root/without-file/Kerrowind/DRAV"
