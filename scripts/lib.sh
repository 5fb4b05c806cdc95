# Shared by scripts/run, scripts/test and the other scripts: packages, a virtual
# display, a Wine prefix, and cleanup that leaves no process behind.
# shellcheck shell=bash

LUMENO_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# ImageMagick by absolute path: a stand-in may shadow it earlier in PATH.
LUMENO_IM_CONVERT=/usr/bin/convert
LUMENO_IM_IMPORT=/usr/bin/import

LUMENO_BUILD_PACKAGES=(cmake ninja-build g++ g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64)
# fonts-wine is only recommended by wine, and installs skip recommendations: it
# brings "MS Sans Serif" and the Marlett caption-button symbols.
LUMENO_WINE_PACKAGES=(wine wine64 fonts-wine xvfb xauth x11-utils xdotool imagemagick)
LUMENO_TEST_PACKAGES=(libgtest-dev googletest libgmock-dev libbenchmark-dev wixl msitools zip clang libclang-rt-14-dev python3-yaml)

log() { printf '[lumeno] %s\n' "$*" >&2; }

# ensure_packages PKG... : installs whichever of the Debian packages are missing.
ensure_packages() {
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  log "installing: ${missing[*]}"
  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { log "need root or sudo to install ${missing[*]}"; return 1; }
    sudo=(sudo)
  fi
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# build_win [BUILD_TYPE] [BUILD ARGS...] : cross-builds into build/win; prints
# nothing unless it fails, then the whole output of the configure and build.
build_win() {
  local type="${1:-Release}" dir="$LUMENO_ROOT/build/win" out rc=0
  out="$(mktemp)"
  { cmake -S "$LUMENO_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="$type" \
          -DCMAKE_TOOLCHAIN_FILE="$LUMENO_ROOT/cmake/mingw-w64.cmake" &&
    cmake --build "$dir" "${@:2}"; } >"$out" 2>&1 || rc=$?
  [ "$rc" -eq 0 ] || cat "$out" >&2
  rm -f "$out"
  return "$rc"
}

# run_fuzzers [SECONDS] : builds the libFuzzer targets (tests/fuzz, clang) into
# build/fuzz and runs each for SECONDS (default 20) from its committed corpus
# with a fixed seed. New inputs go to build/fuzz/corpus, anything found to
# build/fuzz/findings. Fails if any target finds something.
run_fuzzers() {
  local seconds="${1:-20}" dir="$LUMENO_ROOT/build/fuzz" rc=0 src name short log
  cmake -S "$LUMENO_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
        -DCMAKE_CXX_COMPILER=clang++ -DLUMENO_FUZZ=ON -DLUMENO_BUILD_TESTS=OFF >/dev/null || return 1
  cmake --build "$dir" --target lumeno_fuzz "${@:2}" || return 1
  rm -rf "$dir/corpus" "$dir/findings"
  mkdir -p "$dir/findings"
  for src in "$LUMENO_ROOT"/tests/fuzz/*_fuzz.cpp; do
    name="$(basename "$src" .cpp)"
    short="${name%_fuzz}"
    log="$dir/findings/$short.log"
    mkdir -p "$dir/corpus/$short"
    if "$dir/bin/$name" -max_total_time="$seconds" -seed=1 -timeout=10 -rss_limit_mb=2048 \
         -artifact_prefix="$dir/findings/$short-" "$dir/corpus/$short" "$LUMENO_ROOT/tests/fuzz/corpus/$short" \
         >"$log" 2>&1; then
      log "fuzz $short: $(grep -o 'Done [0-9]* runs' "$log" | tail -n1), nothing found"
    else
      rc=1
      log "fuzz $short FOUND SOMETHING (input: $(ls "$dir/findings/$short-"* 2>/dev/null | head -n1)):"
      grep -v '^#\|^INFO\|^MS:\|^base unit\|^0x' "$log" | tail -n 40 >&2
    fi
  done
  return "$rc"
}

LUMENO_XVFB_PID=""
LUMENO_KEEPALIVE_DIR=""
LUMENO_THROWAWAY_PREFIX=""

# start_xvfb : starts a private virtual display and exports DISPLAY.
start_xvfb() {
  local n=91
  while [ -e "/tmp/.X${n}-lock" ] || [ -e "/tmp/.X11-unix/X${n}" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -noreset </dev/null >/dev/null 2>&1 &
  LUMENO_XVFB_PID=$!
  export DISPLAY=":$n"
  local i
  for i in $(seq 1 100); do
    xdpyinfo -display "$DISPLAY" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  log "Xvfb did not start on $DISPLAY"
  return 1
}

# wine_env PREFIX : the environment every Wine call here runs in.
wine_env() {
  export WINEPREFIX="$1"
  export WINEARCH=win64
  export WINEDEBUG=-all
  # No Mono/Gecko installers, no audio driver chatter.
  export WINEDLLOVERRIDES="mscoree,mshtml=;winealsa.drv,winepulse.drv=d"
}

# link_wine_fonts : Debian's Wine 8 looks for its own fonts in a folder beside
# its data directory that does not exist, not in /usr/share/wine/fonts where
# fonts-wine puts them; linked into the prefix's Fonts folder they are found
# as installed fonts. Only the faces Lumeno draws with: "MS Sans Serif" for
# the system's code page at 96 and 120 dpi (Wine names the one it wants in
# the registry's Fonts list), its Central European form for the Polish texts,
# and Marlett for the caption buttons. Every process start reads the folder,
# and all of them would make each start several times slower. A bitmap font
# is loaded only when the Fonts list names it, so the Central European one is
# added there. Run after wineboot.
LUMENO_CE_FONT_VALUE='MS Sans Serif (Central European)'
link_wine_fonts() {
  local dir="$WINEPREFIX/drive_c/windows/Fonts" f
  [ -d /usr/share/wine/fonts ] && [ -d "$dir" ] || return 0
  for f in sserife.fon sseriff.fon sserifee.fon marlett.ttf; do
    [ -e "/usr/share/wine/fonts/$f" ] && [ ! -e "$dir/$f" ] && ln -s "/usr/share/wine/fonts/$f" "$dir/"
  done
  wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\Fonts' /v "$LUMENO_CE_FONT_VALUE" \
    /d sserifee.fon /f </dev/null >/dev/null 2>&1
  return 0
}

# prepare_prefix : creates (or refreshes) $WINEPREFIX and keeps a server and a
# desktop alive, so ctest does not wait on Wine's helper processes.
prepare_prefix() {
  mkdir -p "$WINEPREFIX"
  wineserver -p
  wineboot -i </dev/null >/dev/null 2>&1 || true
  link_wine_fonts
  # Without a window manager, hiding a visible window blocks for 2 s unless
  # Wine's windows are unmanaged.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
  LUMENO_KEEPALIVE_DIR="$(mktemp -d)"
  mkfifo "$LUMENO_KEEPALIVE_DIR/keep"
  wine cmd /k <"$LUMENO_KEEPALIVE_DIR/keep" >/dev/null 2>&1 &
  exec 9>"$LUMENO_KEEPALIVE_DIR/keep"
  # The desktop up now, its process writing nowhere: the first window-making
  # program would otherwise start it with its own output, and whoever reads
  # that (ctest) would wait for the desktop to end.
  wine rundll32.exe user32.dll,GetDesktopWindow </dev/null >/dev/null 2>&1 || true
}

# cleanup : stops everything this script started. Safe to call twice.
cleanup() {
  { exec 9>&-; } 2>/dev/null || true
  if [ -n "${WINEPREFIX:-}" ] && [ -d "${WINEPREFIX}" ]; then
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
  fi
  if [ -n "$LUMENO_XVFB_PID" ]; then
    kill "$LUMENO_XVFB_PID" 2>/dev/null || true
    local i
    for i in $(seq 1 50); do kill -0 "$LUMENO_XVFB_PID" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$LUMENO_XVFB_PID" 2>/dev/null || true
    LUMENO_XVFB_PID=""
  fi
  [ -n "$LUMENO_KEEPALIVE_DIR" ] && rm -rf "$LUMENO_KEEPALIVE_DIR"
  LUMENO_KEEPALIVE_DIR=""
  [ -n "$LUMENO_THROWAWAY_PREFIX" ] && rm -rf "$LUMENO_THROWAWAY_PREFIX"
  LUMENO_THROWAWAY_PREFIX=""
}
