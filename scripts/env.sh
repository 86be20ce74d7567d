# Shared settings of the build and run scripts (sourced, not run).
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD="$ROOT/build"
NATIVE_BUILD="$BUILD/native"
WIN32_BUILD="$BUILD/win32"

# Wine: a private 32-bit prefix under the build folder, code page 936.
export WINEPREFIX="$BUILD/wineprefix"
export WINEARCH=win32
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="   # no Mono/Gecko install prompts
export LC_ALL=zh_CN.UTF-8

build_native() {
  cmake -S "$ROOT" -B "$NATIVE_BUILD" -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$NATIVE_BUILD" -j"$(nproc)"
}

build_win32() {
  cmake -S "$ROOT" -B "$WIN32_BUILD" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" >/dev/null
  cmake --build "$WIN32_BUILD" -j"$(nproc)"
}

# Creates the Wine prefix once; later runs reuse it.
ensure_wineprefix() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Creating the Wine prefix in $WINEPREFIX ..."
    xvfb-run -a wineboot --init >/dev/null 2>&1 || true
    wineserver -w || true
  fi
}
