# Shared by the scripts: paths, the Wine prefixes, the X display and the build.
# Source it; it defines functions and exports nothing until they run.

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${VANTRA_BUILD:-$ROOT/build}
NATIVE_BUILD=$BUILD/native
# Sources of the libraries that the Windows trees build themselves (scripts/deps fetches them).
JPEG_SOURCE=$BUILD/src/libjpeg-turbo

# The programs are 32-bit. Some machines (virtual machines without the
# 32-bit compatibility mode) cannot execute 32-bit code at all, and so cannot
# run 32-bit Wine; there the same sources are also built as 64-bit programs
# and those run the tests and the demonstration.
runs_32bit() {
  /usr/lib/wine/wine --version >/dev/null 2>&1
}

# Sets WINE_ARCH (win32 or win64) and WIN_BUILD, the tree that runs here.
choose_wine_arch() {
  if [ -z "${WINE_ARCH:-}" ]; then
    if runs_32bit; then WINE_ARCH=win32; else WINE_ARCH=win64; fi
  fi
  WIN_BUILD=$BUILD/$WINE_ARCH
}

# The prefix of one width under the build folder, made on first use.
# Sets WINE to the loader to call.
wine_env() {
  local arch=$1
  export WINEPREFIX=$BUILD/wine-$arch
  export WINEARCH=$arch
  export WINEDEBUG=${WINEDEBUG:--all}
  export WINEDLLOVERRIDES="mscoree,mshtml="
  if [ "$arch" = win64 ]; then WINE=/usr/lib/wine/wine64; else WINE=/usr/lib/wine/wine; fi
  export WINELOADER=$WINE
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$BUILD"
    echo "wine: creating prefix $WINEPREFIX" >&2
    # A prefix made without a display records none, and the first session
    # after it cannot create a window ("no driver could be loaded").
    ensure_display
    "$WINE" wineboot -i >/dev/null 2>&1 || true
    wineserver -w
  fi
  local settings=$WINEPREFIX/.crash-settings-2
  if [ ! -f "$settings" ]; then
    # A program that crashes ends at once with its exception's code, so that
    # a test that crashes fails: with Wine's debugger attached it would end
    # with code 0. Wine still prints the faulting address.
    "$WINE" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /t REG_SZ /d "" /f \
      >/dev/null 2>&1 || true
    "$WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 || true
    touch "$settings"
  fi
}

# A display for windows: the caller's, or an Xvfb of our own on a display
# number that Xvfb picks itself. It runs in a session of its own, so that a
# Ctrl-C in the terminal leaves it to stop_display, after the programs on it.
ensure_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return; fi
  local file
  file=$(mktemp)
  setsid Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$file" >/dev/null 2>&1 &
  XVFB_PID=$!
  for _ in $(seq 100); do [ -s "$file" ] && break; sleep 0.05; done
  export DISPLAY=:$(head -n 1 "$file")
  rm -f "$file"
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && return; sleep 0.1; done
  echo "no X display could be started" >&2
  return 1
}

stop_display() {
  if [ -n "${XVFB_PID:-}" ]; then kill "$XVFB_PID" 2>/dev/null || true; fi
}

build_windows() { # arch
  local triple=i686-w64-mingw32
  [ "$1" = win64 ] && triple=x86_64-w64-mingw32
  cmake -S "$ROOT" -B "$BUILD/$1" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/$triple.cmake" \
    -DJPEG_SOURCE="$JPEG_SOURCE" >/dev/null
  cmake --build "$BUILD/$1" -j "$(nproc)"
}

build_native() {
  cmake -S "$ROOT" -B "$NATIVE_BUILD" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
  cmake --build "$NATIVE_BUILD" -j "$(nproc)"
}
