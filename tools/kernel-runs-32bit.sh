#!/usr/bin/env bash
# Exits 0 when this kernel runs 32-bit x86 programs, 1 when it does not. Needs nothing but
# bash: it runs a 96-byte static i386 program written here with printf, so it answers on a new
# machine before any package (Wine, binutils) is installed. A kernel without 32-bit support
# refuses it with "Exec format error"; any other failure is shown and counts as "does not".
#
# The program exits with 42 through the 32-bit system call gate (int 0x80). The last byte of
# its ELF identification is not zero: the kernel's own loader ignores those padding bytes, but
# a binfmt_misc handler for i386 (qemu-user, box86) requires them to be zero, so the program
# never runs emulated, a way that is far too slow for Wine.
set -uo pipefail

dir=$(mktemp -d) || exit 1
trap 'rm -rf "$dir"' EXIT
probe=$dir/probe32
header='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x01' # 32-bit, LSB, padding != 0
header+='\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08'        # executable, i386, entry
header+='\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00'        # program headers at 52
header+='\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00'        # one program header
segment='\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08' # load the file
segment+='\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00' # at 0x08048000
code='\xbb\x2a\x00\x00\x00\xb8\x01\x00\x00\x00\xcd\x80' # ebx = 42; eax = exit; int 0x80
printf %b "$header$segment$code" >"$probe" && chmod +x "$probe" || exit 1

error=$(LC_ALL=C "$probe" 2>&1)
status=$?
[ "$status" -eq 42 ] && exit 0
case "$error" in
  *"Exec format error"*) ;;
  *) echo "kernel-runs-32bit: the 32-bit test program did not run (exit $status: $error)" >&2 ;;
esac
exit 1
