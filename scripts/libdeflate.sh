# libdeflate for the Windows programs. Debian packages it for this machine
# only, so the Windows builds get a static library compiled with the MinGW
# compilers from Debian's own source package, of the same version as the
# native libdeflate-dev, with libdeflate's own makefile. Everything lives
# under build/deps/libdeflate: the private apt configuration that fetches
# the source, the unpacked source, and one install tree per architecture
# (include/libdeflate.h, lib/libdeflate.a) that CMake is pointed at.
# Sourced, not run; expects $root and the helpers of scripts/common.sh and
# scripts/private_apt.sh.
#
#   libdeflate_windows_root win64|win32    the install tree's path
#   build_libdeflate_for_windows win64|win32

libdeflate_dir="$root/build/deps/libdeflate"

libdeflate_windows_root() { echo "$libdeflate_dir/$1"; }

libdeflate_triplet() {
  case "$1" in
    win64) echo x86_64-w64-mingw32 ;;
    win32) echo i686-w64-mingw32 ;;
  esac
}

# The Debian source of the native package's version, unpacked (patches
# applied) by dpkg-source; prints the source folder.
fetch_libdeflate_source() {
  local version=$1
  local upstream=${version%-*}
  local source="$libdeflate_dir/source/libdeflate-$upstream"
  local marker="$libdeflate_dir/source/.fetched-$version"
  if [ ! -f "$marker" ]; then
    log "fetching Debian's source of libdeflate $version"
    local conf
    conf=$(private_apt_root "$libdeflate_dir/apt" amd64 deb-src bookworm bookworm-updates)
    APT_CONFIG=$conf apt-get update -qq >&2
    rm -rf "$libdeflate_dir/source"
    mkdir -p "$libdeflate_dir/source"
    (cd "$libdeflate_dir/source" && APT_CONFIG=$conf apt-get source -qq "libdeflate=$version" >/dev/null 2>&1) || {
      echo "apt-get source libdeflate=$version failed" >&2
      return 1
    }
    touch "$marker"
  fi
  echo "$source"
}

build_libdeflate_for_windows() {
  local arch=$1
  local version triplet install
  version=$(dpkg-query -W -f='${Version}' libdeflate-dev)
  triplet=$(libdeflate_triplet "$arch")
  install=$(libdeflate_windows_root "$arch")
  [ -f "$install/.built-$version" ] && return
  local source build
  source=$(fetch_libdeflate_source "$version")
  log "building libdeflate $version for $arch"
  # A copy per architecture: the makefile builds in its source folder.
  build="$libdeflate_dir/build-$arch"
  rm -rf "$build" "$install"
  cp -r "$source" "$build"
  # Only the decompressor and the CRC-32 are called; the static library is
  # the whole one all the same, and the linker keeps what is used. The
  # makefile cannot derive ar from a "-gcc-posix" compiler name.
  make -C "$build" -s -j"$(nproc)" CC="$triplet-gcc-posix" AR="$triplet-ar" libdeflatestatic.lib >/dev/null
  mkdir -p "$install/include" "$install/lib"
  cp "$source/libdeflate.h" "$install/include/"
  cp "$build/libdeflatestatic.lib" "$install/lib/libdeflate.a"
  cp "$source/COPYING" "$install/"
  touch "$install/.built-$version"
}
