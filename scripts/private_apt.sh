# Debian packages fetched through apt without touching the machine's own
# apt sources, architectures or package state: the 32-bit Wine's packages
# and the sources of the libraries cross-built for Windows.
# Sourced, not run.

# The Debian mirror the machine already uses (first non-security URI).
debian_mirror() {
  local uri
  uri=$(cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources 2>/dev/null |
    sed -n -e 's/^URIs:[[:space:]]*//p' -e 's/^deb[[:space:]]\+\(\[[^]]*\][[:space:]]*\)\?\([^[:space:]]\+\).*/\2/p' |
    tr ' ' '\n' | grep -v -e security -e '^$' | grep /debian | head -n1)
  echo "${uri:-http://deb.debian.org/debian}"
}

# private_apt_root DIR ARCH TYPES SUITES...: a private apt configuration
# under DIR for ARCH and the given suites, and prints the path of its config
# file. TYPES is "deb", or "deb-src" for source packages (apt-get source).
# It reads none of the machine's apt settings, sources or package state.
private_apt_root() {
  local dir=$1 arch=$2 type=$3
  shift 3
  local mirror keyring=/usr/share/keyrings/debian-archive-keyring.gpg suite
  mirror=$(debian_mirror)
  mkdir -p "$dir"/etc/apt.conf.d "$dir"/etc/sources.list.d "$dir"/etc/preferences.d \
    "$dir"/state/lists/partial "$dir"/cache/archives/partial "$dir"/log
  : >"$dir/state/status"
  {
    for suite in "$@"; do
      case "$suite" in
        *-security) echo "$type [arch=$arch signed-by=$keyring] ${mirror%/debian}/debian-security $suite main" ;;
        *) echo "$type [arch=$arch signed-by=$keyring] $mirror $suite main" ;;
      esac
    done
  } >"$dir/etc/sources.list"
  cat >"$dir/apt.conf" <<EOF
Dir::Etc::Parts "$dir/etc/apt.conf.d";
Dir::Etc::Main "$dir/etc/apt.conf";
Dir::Etc::SourceList "$dir/etc/sources.list";
Dir::Etc::SourceParts "$dir/etc/sources.list.d";
Dir::Etc::Preferences "$dir/etc/preferences";
Dir::Etc::PreferencesParts "$dir/etc/preferences.d";
Dir::State "$dir/state";
Dir::State::status "$dir/state/status";
Dir::Cache "$dir/cache";
Dir::Log "$dir/log";
APT::Architecture "$arch";
APT::Architectures { "$arch"; };
APT::Install-Recommends "false";
APT::Install-Suggests "false";
Acquire::Languages "none";
// Downloads land under build/, which the _apt user may not reach.
APT::Sandbox::User "root";
EOF
  echo "$dir/apt.conf"
}
