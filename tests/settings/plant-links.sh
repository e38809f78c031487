#!/bin/sh
# Plants links in a settings folder the way another user of the machine could, for the tests
# that check that the launcher never follows them. Wine cannot make symbolic links itself, so
# they are made here, as the host's symbolic links inside the Wine prefix's drive C (folder $1).
set -eu
root=$1
rm -rf "$root"
mkdir -p "$root/victims/product" "$root/victims/company/DRAV"
printf '"Victim" "product"\r\n' >"$root/victims/product/settings.cfg"
printf '"Victim" "company"\r\n' >"$root/victims/company/DRAV/settings.cfg"
printf '"Victim" "file"\r\n' >"$root/victims/file.cfg"

mkdir -p "$root/product-link/Kerrowind" "$root/company-link" \
  "$root/file-link/Kerrowind/DRAV" "$root/dangling-link/Kerrowind/DRAV"
ln -s "$root/victims/product" "$root/product-link/Kerrowind/DRAV"
ln -s "$root/victims/company" "$root/company-link/Kerrowind"
ln -s "$root/victims/file.cfg" "$root/file-link/Kerrowind/DRAV/settings.cfg"
ln -s "$root/victims/never.cfg" "$root/dangling-link/Kerrowind/DRAV/settings.cfg"
mkdir -p "$root/victims/company-empty" "$root/empty-company-link"
ln -s "$root/victims/company-empty" "$root/empty-company-link/Kerrowind"
