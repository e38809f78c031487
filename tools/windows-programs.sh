# Sourced by the scripts and by each build's wine-run.sh: decides which Windows programs this
# machine can run under Wine, and says so in one line.
#
# Some kernels run no 32-bit code at all; there Wine's 32-bit loader fails with "Exec format
# error", and Debian's `wine` script fails even for 64-bit programs because it always starts
# that loader when wine32 is installed. So nothing here uses the `wine` script: 64-bit programs
# always run with the 64-bit loader, 32-bit programs with the 32-bit one.
#
# WINDOWS_PROGRAMS forces the choice: `64` runs only 64-bit programs (as on a kernel without
# 32-bit support), `32+64` runs both. Unset or `auto`, the machine is asked: the kernel first
# (tools/kernel-runs-32bit.sh, which needs no Wine), then Wine's 32-bit loader.
#
# Sets: WINE32_LOADER, WINE64_LOADER, WINDOWS_PRESETS (the build presets whose programs run
# here), WINDOWS_32BIT_WHY (why 32-bit programs do not run; empty when they do).

WINE32_LOADER=/usr/lib/wine/wine
WINE64_LOADER=/usr/lib/wine/wine64
WINDOWS_32BIT_WHY=

case "${WINDOWS_PROGRAMS:-auto}" in
  64)
    WINDOWS_32BIT_WHY="switched off by WINDOWS_PROGRAMS=64"
    ;;
  32+64 | auto)
    if ! "$(dirname "${BASH_SOURCE[0]}")/kernel-runs-32bit.sh"; then
      WINDOWS_32BIT_WHY="this kernel runs no 32-bit code"
    elif [ ! -x "$WINE32_LOADER" ]; then
      WINDOWS_32BIT_WHY="wine32:i386 is not installed;"
      WINDOWS_32BIT_WHY+=" tools/install-deps.sh installs it, or says why apt cannot"
    elif ! "$WINE32_LOADER" --version >/dev/null 2>&1; then
      WINDOWS_32BIT_WHY="Wine's 32-bit loader does not start ($WINE32_LOADER --version fails)"
    fi
    if [ -n "$WINDOWS_32BIT_WHY" ] && [ "${WINDOWS_PROGRAMS:-auto}" = 32+64 ]; then
      echo "windows programs: WINDOWS_PROGRAMS=32+64, but $WINDOWS_32BIT_WHY;" \
        "unset WINDOWS_PROGRAMS to run the 64-bit programs only" >&2
      exit 1
    fi
    ;;
  *)
    echo "windows programs: WINDOWS_PROGRAMS=$WINDOWS_PROGRAMS is not one of auto, 64, 32+64" >&2
    exit 1
    ;;
esac

if [ -z "$WINDOWS_32BIT_WHY" ]; then
  WINDOWS_PRESETS="i686 x86_64"
  windows_programs_line="windows programs: 32-bit and 64-bit"
else
  WINDOWS_PRESETS="x86_64"
  windows_programs_line="windows programs: 64-bit only ($WINDOWS_32BIT_WHY)"
fi
export WINDOWS_PROGRAMS WINE32_LOADER WINE64_LOADER WINDOWS_PRESETS WINDOWS_32BIT_WHY
