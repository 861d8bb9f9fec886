# The shipped 32-bit programs under a 32-bit Wine. This machine refuses
# 32-bit code natively, so Debian's i386 Wine runs inside qemu's i386
# user-mode emulator and talks to the native 64-bit wineserver of the same
# Wine version. Everything it needs lives under build/wine32: nothing is
# added to the machine's dpkg architectures or apt sources.
# Sourced, not run; expects $root to be the top of the tree and the helpers
# of scripts/common.sh (log, wine_dll_overrides). Needs root: it registers
# the emulator with the kernel.
#
#   install_wine32   the i386 Wine, the emulator and the trap number bridge
#   start_wine32     emulator registered, prefix ready, wineserver running;
#                    exports QUIMORA_WINE32_RUN (cmake/wine32-run)
#   wine32 ARGS...   runs the 32-bit Wine (wine32_env: any command in its
#                    environment, e.g. its wineserver)
#   stop_wine32      ends its processes and removes the registration

wine32_dir="$root/build/wine32"
# The i386 system: Wine, its libraries, and the trap number bridge.
wine32_rootfs="$wine32_dir/root"
wine32_qemu="$wine32_dir/qemu/qemu-i386"
wine32_loader="$wine32_rootfs/usr/lib/wine/wine"
wine32_binfmt_name=quimora-i386
wine32_binfmt_dir=/proc/sys/fs/binfmt_misc

# Tools of the host that build and run the 32-bit side.
wine32_host_packages=(gcc-i686-linux-gnu libc6-dev-i386-cross gcc-mingw-w64-i686-posix wine64 x11-utils)

# Optional libraries of Wine that the machine has for the 64-bit Wine (as
# dependencies of its X tools): Wine loads them when present, and without
# them the 32-bit side would differ. OpenGL, sound and video are left out.
wine32_recommended=(
  libxcomposite1 libxcursor1 libxfixes3 libxi6 libxinerama1 libxrandr2
  libxrender1 libxxf86vm1 libgnutls30 libdbus-1-3
)

# wine32_fetch_debs CONF PACKAGES...: downloads the packages and everything
# they depend on, as if onto an empty system, into the private cache.
wine32_fetch_debs() {
  local conf=$1
  shift
  APT_CONFIG=$conf apt-get update -qq
  APT_CONFIG=$conf DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --download-only "$@" >/dev/null
}

# The i386 Wine of the same version as the native wine64, with its library
# closure, unpacked into build/wine32/root.
install_wine32_rootfs() {
  local version marker
  version=$(dpkg-query -W -f='${Version}' wine64)
  marker="$wine32_rootfs/.quimora-wine32-$version"
  [ -f "$marker" ] && return
  log "fetching the i386 Wine $version and its libraries"
  local apt="$wine32_dir/apt-bookworm-i386" conf
  # Wine comes from bookworm itself; its libraries only serve the tests, so
  # the security suite (whose i386 index the mirror serves inconsistently)
  # is not needed.
  conf=$(private_apt_root "$apt" i386 deb bookworm bookworm-updates)
  wine32_fetch_debs "$conf" "wine32=$version" "libwine=$version" "${wine32_recommended[@]}"
  local debs=("$apt"/cache/archives/*.deb) deb
  log "unpacking ${#debs[@]} packages"
  rm -rf "$wine32_rootfs"
  mkdir -p "$wine32_rootfs"
  for deb in "${debs[@]}"; do
    dpkg-deb -x "$deb" "$wine32_rootfs"
  done
  wine32_relative_symlinks
  wine32_builtin_zlib
  wine32_use_host_fonts
  touch "$marker"
}

# The emulated programs see a path of the i386 system where it exists and
# the host's otherwise. The fonts and font settings must be the host's, as
# the 64-bit Wine sees them (Liberation among them), so the i386 system's
# own copies go (wine32_fontconfig keeps fontconfig's cache out of the
# machine's /var/cache).
wine32_use_host_fonts() {
  rm -rf "$wine32_rootfs/usr/share/fonts" "$wine32_rootfs/etc/fonts"
}

# What libwine's installation script does, and dpkg-deb -x does not run:
# Wine's user32 imports zlib1.dll, which Debian takes from its MinGW zlib
# and marks as one of Wine's own builtin DLLs (bytes 64 to 95 of the file).
wine32_builtin_zlib() {
  local mingw_arch wine_arch in out
  for mingw_arch in i686 x86_64; do
    wine_arch=$mingw_arch
    [ "$mingw_arch" = i686 ] && wine_arch=i386
    in="$wine32_rootfs/usr/$mingw_arch-w64-mingw32/lib/zlib1.dll"
    out="$wine32_rootfs/usr/lib/i386-linux-gnu/wine/$wine_arch-windows/zlib1.dll"
    [ -d "$(dirname "$out")" ] || continue
    {
      head -c 64 "$in"
      printf 'Wine builtin DLL'
      head -c 16 /dev/zero
      tail -c +97 "$in"
    } >"$out"
  done
}

# Programs in the emulator see the host's files where the i386 system lacks
# them, so an absolute symbolic link inside it would lead out to the host's
# 64-bit libraries. Each one is made relative to stay inside.
wine32_relative_symlinks() {
  local link target
  while IFS= read -r -d '' link; do
    target=$(readlink "$link")
    case "$target" in
      /*) ln -sfn "$(realpath -m --relative-to="$(dirname "$link")" "$wine32_rootfs$target")" "$link" ;;
    esac
  done < <(find "$wine32_rootfs" -type l -print0)
}

# qemu's i386 user-mode emulator from Debian trixie: qemu 10 runs Wine at a
# usable speed where bookworm's 7.2 does not. Its binaries are static, so
# the one program is all that is taken from the package.
install_wine32_qemu() {
  [ -x "$wine32_qemu" ] && return
  log "fetching qemu-user from trixie"
  local apt="$wine32_dir/apt-trixie-amd64" conf
  conf=$(private_apt_root "$apt" amd64 deb trixie)
  APT_CONFIG=$conf apt-get update -qq
  (cd "$apt/cache/archives" && APT_CONFIG=$conf apt-get download -qq qemu-user)
  local unpacked="$wine32_dir/qemu/unpacked"
  rm -rf "$unpacked"
  mkdir -p "$unpacked"
  local debs=("$apt"/cache/archives/qemu-user_*.deb)
  dpkg-deb -x "${debs[0]}" "$unpacked"
  local version
  version=$("$unpacked/usr/bin/qemu-i386" --version | sed -n 's/^qemu-i386 version \([0-9]*\)\..*/\1/p')
  if [ "${version:-0}" -lt 10 ]; then
    log "qemu-user from trixie is version ${version:-unknown}; Wine needs 10 or newer to run at speed"
    return 1
  fi
  install -m 755 "$unpacked/usr/bin/qemu-i386" "$wine32_qemu"
  rm -rf "$unpacked"
}

# The trap number bridge (tools/wine32/trapno_preload.c), loaded into every
# emulated process through the i386 system's own /etc/ld.so.preload: the
# emulator resolves that path inside build/wine32/root, and the host's
# native processes never read it.
install_wine32_preload() {
  local src="$root/tools/wine32" lib="$wine32_rootfs/usr/local/lib/quimora/trapno_preload.so"
  local check="$wine32_dir/trapno_check"
  if [ ! -f "$lib" ] || [ "$src/trapno_preload.c" -nt "$lib" ] || [ "$src/trapno_check.c" -nt "$check" ] ||
    [ "$src/fault_check.c" -nt "$wine32_dir/fault_check.exe" ]; then
    log "building the trap number bridge"
    mkdir -p "$(dirname "$lib")"
    i686-linux-gnu-gcc -shared -fPIC -O2 -Wall -Wextra -o "$lib" "$src/trapno_preload.c" -ldl
    i686-linux-gnu-gcc -O2 -Wall -Wextra -o "$check" "$src/trapno_check.c"
    i686-w64-mingw32-gcc -O2 -Wall -Wextra -o "$wine32_dir/fault_check.exe" "$src/fault_check.c"
    echo /usr/local/lib/quimora/trapno_preload.so >"$wine32_rootfs/etc/ld.so.preload"
    # The emulator must give each fault its trap number, or Wine cannot
    # tell a page fault it resolves from a crash.
    if ! "$wine32_qemu" -L "$wine32_rootfs" "$check" >"$wine32_dir/trapno_check.log" 2>&1; then
      cat "$wine32_dir/trapno_check.log" >&2
      rm -f "$lib"
      log "the emulator does not report trap numbers as the kernel does"
      return 1
    fi
  fi
}

# Installs what the 32-bit Wine needs; skips every part already present.
install_wine32() {
  local missing=() p
  for p in "${wine32_host_packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  if ((${#missing[@]})); then
    log "installing: ${missing[*]}"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  fi
  install_wine32_rootfs
  install_wine32_qemu
  install_wine32_preload
  wine32_fontconfig
}

# fontconfig's configuration for the emulated programs: the machine's font
# folders and settings, and a cache under build/wine32. With the machine's
# fonts.conf the 32-bit fontconfig would write its own cache files (another
# format than the native one's) into /var/cache/fontconfig.
wine32_fontconfig() {
  mkdir -p "$wine32_dir/fontconfig/cache"
  cat >"$wine32_dir/fontconfig/fonts.conf" <<EOF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <dir>/usr/share/fonts</dir>
  <dir>/usr/local/share/fonts</dir>
  <include ignore_missing="yes">/etc/fonts/conf.d</include>
  <cachedir>$wine32_dir/fontconfig/cache</cachedir>
</fontconfig>
EOF
}

# The native wineserver speaks the protocol of the i386 Wine of the same
# version; the i386 one would only run emulated, and slower.
wine32_wineserver() {
  local s
  for s in /usr/lib/wine/wineserver64 /usr/lib/x86_64-linux-gnu/wine/wineserver64; do
    [ -x "$s" ] && { echo "$s"; return; }
  done
  command -v wineserver
}

# wine32_env COMMAND...: runs COMMAND with the 32-bit Wine's settings, in a
# prefix and home of its own under build/wine32, leaving the caller's
# environment (which may hold the 64-bit Wine's) as it was.
wine32_env() {
  (
    export WINEPREFIX="$wine32_dir/prefix"
    export HOME="$wine32_dir/home"
    export WINEARCH=win32
    export WINEDEBUG=${WINEDEBUG:--all}
    WINEDLLOVERRIDES=${wine32_overrides:-$(wine_dll_overrides)}
    export WINEDLLOVERRIDES
    WINESERVER=$(wine32_wineserver)
    export WINESERVER
    # Where the emulator looks first for every path an emulated program
    # opens: the i386 loader, libraries and ld.so.preload.
    export QEMU_LD_PREFIX="$wine32_rootfs"
    export FONTCONFIG_FILE="$wine32_dir/fontconfig/fonts.conf"
    mkdir -p "$HOME"
    exec "$@"
  )
}

wine32() { wine32_env "$wine32_loader" "$@"; }

# Marks that binfmt_misc was mounted by us, so that stop_wine32 unmounts it
# even from another shell or after a run that died.
wine32_binfmt_mount_marker="$wine32_dir/binfmt-mounted-by-wine32"

# The kernel hands every i386 ELF program to the emulator. Wine needs this:
# it starts its services and child processes by executing its own loader.
# F: the kernel opens the emulator now, so it works in any mount namespace.
# P: the program keeps the argv[0] it was started with.
wine32_register_binfmt() {
  if ! mountpoint -q "$wine32_binfmt_dir"; then
    mkdir -p "$wine32_dir"
    mount -t binfmt_misc binfmt_misc "$wine32_binfmt_dir"
    touch "$wine32_binfmt_mount_marker"
  fi
  [ -e "$wine32_binfmt_dir/$wine32_binfmt_name" ] && echo -1 >"$wine32_binfmt_dir/$wine32_binfmt_name"
  # ELF, 32-bit, little-endian, executable or shared object, machine i386.
  local magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
  local mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
  echo ":$wine32_binfmt_name:M::$magic:$mask:$wine32_qemu:FP" >"$wine32_binfmt_dir/register"
}

wine32_unregister_binfmt() {
  [ -e "$wine32_binfmt_dir/$wine32_binfmt_name" ] && echo -1 >"$wine32_binfmt_dir/$wine32_binfmt_name"
  [ -f "$wine32_binfmt_mount_marker" ] || return 0
  rm -f "$wine32_binfmt_mount_marker"
  # Unmounting drops every entry; keep it for anyone who registered since.
  local entry
  for entry in "$wine32_binfmt_dir"/*; do
    case "${entry##*/}" in register | status) ;; *) return 0 ;; esac
  done
  if mountpoint -q "$wine32_binfmt_dir"; then
    umount "$wine32_binfmt_dir" || true
  fi
}

# Makes the 32-bit Wine ready to run programs: the emulator registered, the
# prefix prepared once like the 64-bit one (start_wine in scripts/common.sh),
# and one persistent wineserver with Wine's services started.
# Callers run programs with cmake/wine32-run (or the function wine32).
start_wine32() {
  wine32_register_binfmt
  local prefix="$wine32_dir/prefix"
  local marker="$prefix/.quimora-ready-1"
  if [ ! -f "$marker" ]; then
    log "preparing the 32-bit Wine prefix"
    # Wine registers its own DLLs while it creates the prefix, and needs some
    # that the programs must not find (atl100 holds the registrar): without
    # them the prefix lacks the user's folders, Documents among them.
    wine32_overrides='mscoree,mshtml=;winemenubuilder.exe=d' wine32 wineboot -i >/dev/null 2>&1 || true
    wine32_env "$(wine32_wineserver)" -w
    wine32 reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    wine32 reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
    local font
    for font in "Arial=Liberation Sans" "Times New Roman=Liberation Serif" "Courier New=Liberation Mono"; do
      wine32 reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "${font%%=*}" /d "${font#*=}" /f >/dev/null 2>&1
    done
    wine32_env "$(wine32_wineserver)" -w
    [ -f "$prefix/system.reg" ] || { log "the 32-bit Wine did not create its prefix"; return 1; }
    touch "$marker"
  fi
  # A server that is already running (left by an earlier session, or started
  # by a program run before this) would refuse to start a persistent one.
  wine32_stop_wineserver
  # Its output detached: a server holding the caller's pipe would keep it open.
  wine32_env "$(wine32_wineserver)" -p </dev/null >/dev/null 2>&1
  export QUIMORA_WINE32_RUN="$root/cmake/wine32-run"
  # The first program starts Wine's services, detached here from the
  # caller's output as start_wine does. It checks that Wine under the
  # emulator handles page faults as on Windows (tools/wine32/fault_check.c).
  if ! wine32 "$wine32_dir/fault_check.exe" </dev/null >"$wine32_dir/fault_check.log" 2>&1; then
    cat "$wine32_dir/fault_check.log" >&2
    log "the 32-bit Wine does not handle page faults; is the trap number bridge loaded?"
    return 1
  fi
}

# The prefix's wineserver and with it every emulated Wine process (they are
# its clients). The prefix is this script's own, so is everything in it.
wine32_stop_wineserver() {
  [ -d "$wine32_dir/prefix" ] || return 0
  wine32_env "$(wine32_wineserver)" -k 2>/dev/null || true
  wine32_env "$(wine32_wineserver)" -w 2>/dev/null || true
}

# Ends what start_wine32 started: the wineserver, the emulated processes
# and the binfmt entry.
stop_wine32() {
  wine32_stop_wineserver
  wine32_unregister_binfmt
}
