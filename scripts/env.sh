# Shared settings of the build and run scripts (sourced, not run).
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD="$ROOT/build"
NATIVE_BUILD="$BUILD/native"
WIN32_BUILD="$BUILD/win32"   # the product: 32-bit corvane.exe
WIN64_BUILD="$BUILD/win64"   # the same sources for 64-bit Windows, see below

# Wine: a private prefix under the build folder, ANSI code page 936 (GBK).
export WINEPREFIX="$BUILD/wineprefix"
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="   # no Mono/Gecko install prompts
export LC_ALL=zh_CN.UTF-8

build_windows() {  # build folder, toolchain file
  cmake -S "$ROOT" -B "$1" -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/$2" >/dev/null
  cmake --build "$1" -j"$(nproc)"
}
build_native() {
  cmake -S "$ROOT" -B "$NATIVE_BUILD" -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$NATIVE_BUILD" -j"$(nproc)"
}
build_win32() { build_windows "$WIN32_BUILD" mingw-i686.cmake; }
build_win64() { build_windows "$WIN64_BUILD" mingw-x86_64.cmake; }

# Some machines (sandboxed kernels) refuse to execute 32-bit code, so 32-bit
# Wine cannot start there. The Wine suites then run the 64-bit build of the
# same sources under wine64; the 32-bit product is still built and checked.
can_run_32bit() { /usr/lib/wine/wine --version >/dev/null 2>&1; }
choose_wine_build() {
  if can_run_32bit; then
    WINE_BUILD="$WIN32_BUILD"; export CORVANE_WINE=wine
  else
    WINE_BUILD="$WIN64_BUILD"; export CORVANE_WINE=/usr/lib/wine/wine64
    echo "note: this machine cannot execute 32-bit code; Wine runs the 64-bit build."
    build_win64
  fi
}

# Creates the Wine prefix once; later runs reuse it.
#
# Xvfb has no window manager. Wine lets a window manager control top-level
# windows unless told otherwise, and then waits up to 2 s for its answer
# each time a shown window is hidden or destroyed: every exit of a shown
# window, and the notification area's own window when the last icon goes,
# would pay 2 s that no Windows machine pays. "Managed"=N says that no
# window manager is there; Wine then draws and moves the windows itself.
ensure_wineprefix() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Creating the Wine prefix in $WINEPREFIX ..."
    xvfb-run -a "$CORVANE_WINE" wineboot --init >/dev/null 2>&1 || true
    /usr/lib/wine/wineserver -w || true
  fi
  if ! grep -q '^"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null; then
    "$CORVANE_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
    /usr/lib/wine/wineserver -w || true
  fi
}
