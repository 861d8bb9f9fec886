# Shared by ./run and ./test: installing what is missing, the three builds,
# and the Wine and X environment the Windows programs run in.
# Sourced, not run; expects $root to be the top of the tree.

quimora_packages=(
  cmake ninja-build ccache g++ clang libclang-rt-14-dev
  zlib1g-dev libdeflate-dev dpkg-dev libgtest-dev googletest
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix libz-mingw-w64-dev
  wine wine64 fonts-wine fonts-liberation xvfb xauth x11-utils
  osslsigncode zip unzip file
)

log() { printf '== %s\n' "$*" >&2; }

install_missing_packages() {
  local missing=()
  local p
  for p in "${quimora_packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  if ((${#missing[@]})); then
    log "installing: ${missing[*]}"
    local sudo=
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  fi
}

# Every build compiles through ccache. Its cache lives outside the tree
# (ccache's own default, under ~/.cache), so that another clone on this
# machine, a CI run among them, reuses what this one compiled: paths are
# hashed relative to the top of the tree.
use_compiler_cache() {
  export CCACHE_DIR=${CCACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/ccache}
  export CCACHE_BASEDIR=$root CCACHE_NOHASHDIR=1
  export CCACHE_MAXSIZE=${CCACHE_MAXSIZE:-8G}
  # Test programs compile GoogleTest's header once, precompiled: ccache
  # caches the files that use it only when told that is safe.
  export CCACHE_SLOPPINESS=${CCACHE_SLOPPINESS:-pch_defines,time_macros,include_file_mtime,include_file_ctime}
}

# configure_and_build NAME [cmake options...] [-- TARGET...]: one build tree
# under build/NAME; every target, or only the ones named after --.
configure_and_build() {
  local name=$1
  shift
  local options=() targets=()
  while (($#)); do
    if [ "$1" = -- ]; then shift; targets=("$@"); break; fi
    options+=("$1")
    shift
  done
  local dir="$root/build/$name"
  use_compiler_cache
  cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache "${options[@]}" >/dev/null
  local started=$SECONDS
  if ((${#targets[@]})); then
    log "building $name: ${targets[*]}"
    cmake --build "$dir" -j"$(nproc)" --target "${targets[@]}"
  else
    log "building $name"
    cmake --build "$dir" -j"$(nproc)"
  fi
  log "built $name in $((SECONDS - started)) s"
}

toolchain_of() {
  case "$1" in
    win64) echo "$root/cmake/toolchains/mingw-x86_64.cmake" ;;
    win32) echo "$root/cmake/toolchains/mingw-i686.cmake" ;;
  esac
}

# configure_windows_build win64|win32 [-- TARGET...]: the MinGW tree of
# that architecture, with the libdeflate it links. Its build-time tools
# are the native tree's when $native_tools names them, else its own.
configure_windows_build() {
  local arch=$1
  shift
  build_libdeflate_for_windows "$arch"
  configure_and_build "$arch" -DCMAKE_TOOLCHAIN_FILE="$(toolchain_of "$arch")" \
    -DQUIMORA_LIBDEFLATE_ROOT="$(libdeflate_windows_root "$arch")" \
    -DQUIMORA_HOST_TOOLS_DIR="${native_tools:-}" "$@"
}

# The two Windows builds, whole: dist/win32 (shipped) and dist/win64 (tested).
build_product() {
  configure_windows_build win64
  configure_windows_build win32
}

# build_installer win64|win32: only the installer, its signed copy and the
# screenshot program ./run uses; the build-time tools that make them come
# with them.
build_installer() {
  configure_windows_build "$1" -- InstalaQuimora_installer screenshot
}

# timed WHAT COMMAND...: runs COMMAND and says how long WHAT took.
timed() {
  local what=$1 started=$SECONDS
  shift
  "$@"
  log "$what: $((SECONDS - started)) s"
}

# Every tree. The Windows trees take their build-time tools from the
# native one, just built, rather than each building them again.
build_all() {
  configure_and_build native
  native_tools="$root/dist/bin" build_product
  build_fuzz
}

# clang with AddressSanitizer and UndefinedBehaviorSanitizer: the unit tests
# and the libFuzzer targets. Its programs stay inside its build tree.
build_fuzz() {
  CC=clang CXX=clang++ configure_and_build fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQUIMORA_FUZZ=ON -DQUIMORA_SANITIZE=ON -DQUIMORA_DIST_DIR="$root/build/fuzz/dist"
}

# The longest input a fuzz target is given: small inputs run thousands of
# times a second and reach the same code as large ones. An LZHUF stream
# needs a little over 4 KB to make its Huffman tree rebuild itself; the
# product's own form text, the form target's best seed, is 8.5 KB.
fuzz_max_len() {
  case "$1" in
    lzh_* | skin_container_*) echo 8192 ;;
    form_text_*) echo 16384 ;;
    *) echo 4096 ;;
  esac
}

# run_fuzzer TARGET SECONDS [LIBFUZZER FLAGS...]: a libFuzzer run seeded
# from the target's minimized corpus in fuzz/corpus/TARGET (fuzz/minimize
# remakes it) and, for the archive targets, the regressions, growing its
# own corpus under build/fuzz/corpus/TARGET. SECONDS 0: no time limit
# (give -runs=N then).
run_fuzzer() {
  local target=$1 seconds=$2
  shift 2
  local corpus="$root/build/fuzz/corpus/$target"
  mkdir -p "$corpus" "$root/build/fuzz/findings"
  local seeds=()
  [ -d "$root/fuzz/corpus/$target" ] && seeds+=("$root/fuzz/corpus/$target")
  case "$target" in
    zip_* | installer_payload_*) seeds+=("$root/fuzz/corpus/zip-regressions") ;;
  esac
  # The payload target writes every input's files: memory is the quickest
  # disk for them.
  local tmp=${TMPDIR:-/tmp}
  [[ "$target" == installer_payload_* && -d /dev/shm ]] && tmp=/dev/shm
  TMPDIR=$tmp "$root/build/fuzz/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -max_len="$(fuzz_max_len "$target")" -print_final_stats=1 -artifact_prefix="$root/build/fuzz/findings/" \
    "$@" "$corpus" "${seeds[@]}"
}

wine64_path() { command -v wine64 || echo /usr/lib/wine/wine64; }

# Wine's settings of which DLLs to load: no Mono or Gecko prompts and no
# menu entries on this machine...
wine_base_overrides() { echo "mscoree,mshtml=;winemenubuilder.exe=d"; }

# ...and, for our programs, none of the DLLs that Wine has and Windows lacks
# (packaging/windows/wine-extra-dlls.txt). cmake/wine-run has the same.
# Wine itself needs some of them while it makes a prefix (atl100 holds its
# registrar), so prefixes are made with the base settings only.
wine_dll_overrides() {
  local extra
  extra=$(sed -e 's/#.*//' -e '/^\s*$/d' "$root/packaging/windows/wine-extra-dlls.txt" | paste -sd, -)
  echo "$(wine_base_overrides);$extra=d"
}

# The Windows programs run in a private prefix and home under build/wine.
export_wine_env() {
  export QUIMORA_WINE_ROOT="$root/build/wine"
  export WINEPREFIX="$QUIMORA_WINE_ROOT/prefix"
  export HOME="$QUIMORA_WINE_ROOT/home"
  export WINEDEBUG=-all
  WINEDLLOVERRIDES=$(wine_dll_overrides)
  export WINEDLLOVERRIDES
  export PATH="$PATH:/usr/lib/wine"
  mkdir -p "$HOME"
}

started_xvfbs=()
started_wineserver=
started_wine32=

# A display for the Windows programs: the one we have, or a private Xvfb.
start_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    return
  fi
  start_private_display
}

# start_private_display: a new Xvfb of our own, exported as DISPLAY.
start_private_display() {
  local n i
  for n in $(seq 90 120); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    started_xvfbs+=($!)
    export DISPLAY=":$n"
    for i in $(seq 50); do
      xdpyinfo >/dev/null 2>&1 && return
      sleep 0.1
    done
    log "Xvfb did not start on :$n"
    return 1
  done
  log "no free X display number"
  return 1
}

# One persistent wineserver for the whole run: later starts cost 0.1 s.
start_wine() {
  export_wine_env
  local marker="$WINEPREFIX/.quimora-ready-2"
  if [ ! -f "$marker" ]; then
    log "preparing the Wine prefix"
    WINEDLLOVERRIDES=$(wine_base_overrides) "$(wine64_path)" wineboot -i >/dev/null 2>&1 || true
    wineserver -w
    # A virtual desktop: Wine draws standard Windows frames, and console
    # output still reaches the terminal.
    "$(wine64_path)" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    "$(wine64_path)" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
    # The fonts the installer's window names, by their metric twins.
    local font
    for font in "Arial=Liberation Sans" "Times New Roman=Liberation Serif" "Courier New=Liberation Mono"; do
      "$(wine64_path)" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "${font%%=*}" /d "${font#*=}" /f \
        >/dev/null 2>&1
    done
    wineserver -w
    touch "$marker"
  fi
  # A server already running for the prefix (another ./run still open) is
  # used as it is, and left running at the end.
  if wineserver -p 2>/dev/null; then started_wineserver=1; fi
  # The first program of a session starts Wine's own services (explorer,
  # the desktop, plug and play). Start them here, detached from our output:
  # a service that inherited a test's output pipe would keep ctest waiting.
  "$(wine64_path)" cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
}

stop_started() {
  if [ -n "$started_wine32" ]; then
    stop_wine32
    started_wine32=
  fi
  if [ -n "$started_wineserver" ]; then
    wineserver -k 2>/dev/null || true
    started_wineserver=
  fi
  local xvfb
  for xvfb in "${started_xvfbs[@]}"; do
    kill "$xvfb" 2>/dev/null || true
    wait "$xvfb" 2>/dev/null || true
  done
  started_xvfbs=()
}

# The 32-bit Wine, under emulation, for the shipped 32-bit programs.
source "$root/scripts/private_apt.sh"
source "$root/scripts/wine32.sh"
source "$root/scripts/libdeflate.sh"
