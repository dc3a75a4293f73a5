#!/usr/bin/env bash
# Brings a Debian machine to the point where the whole project builds and tests:
# installs the missing Debian packages, then fetches the Debian sources of the two
# libraries that have no mingw build (jsoncpp, minizip inside zlib) into a cache.
# Idempotent: a second run installs and downloads nothing.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
cache=${TARVEL_DEPS_CACHE:-$(cd "$here/../.." && pwd)/build/deps}

packages=(
  cmake make ninja-build python3 zip unzip
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-tools libz-mingw-w64-dev
  wine wine64 xvfb xauth xdotool imagemagick fonts-wqy-microhei
  clang libclang-rt-14-dev googletest dpkg-dev iproute2 util-linux
  curl aria2 bc
)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

missing_packages() {
  local p
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"
  done
}

install_packages() {
  local missing
  missing=$(missing_packages)
  [ -z "$missing" ] && return 0
  echo "setup: installing $(echo $missing)"
  # A fresh machine may hold no package lists yet, or stale ones.
  as_root apt-get update -qq
  # shellcheck disable=SC2086
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing
}

# The machine's own Debian archive address, so that nothing but its configured
# registry is asked; the deb-src entry lives in a private folder and the
# machine's apt configuration stays untouched.
debian_archive_uri() {
  local uri
  uri=$(grep -hE '^(URIs:|deb )' /etc/apt/sources.list.d/*.sources /etc/apt/sources.list 2>/dev/null |
        grep -v -- '-security' | grep -oE '(https?|file)://[^ ]+' | head -n 1)
  [ -n "$uri" ] || { echo "setup: no Debian archive in the apt configuration" >&2; exit 1; }
  echo "$uri"
}

fetch_sources() {
  local stamp="$cache/sources.stamp"
  [ -f "$stamp" ] && return 0
  local suite apt
  suite=$(. /etc/os-release && echo "$VERSION_CODENAME")
  apt="$cache/apt"
  rm -rf "$apt" "$cache/src"
  mkdir -p "$apt/sources" "$apt/lists/partial" "$apt/cache/archives/partial" "$cache/src" "$cache/dl"
  cat >"$apt/sources/deb-src.sources" <<SOURCES
Types: deb-src
URIs: $(debian_archive_uri)
Suites: $suite
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
  local opts=(-o Dir::Etc::sourcelist=/dev/null -o "Dir::Etc::sourceparts=$apt/sources"
              -o "Dir::State::Lists=$apt/lists" -o "Dir::Cache=$apt/cache"
              -o APT::Sandbox::User=root)
  echo "setup: fetching the Debian sources of jsoncpp and zlib (minizip)"
  apt-get "${opts[@]}" -qq update
  (cd "$cache/dl" && apt-get "${opts[@]}" -qq source --download-only libjsoncpp zlib)
  unpack "$cache/dl"/libjsoncpp_*.dsc "$cache/src/jsoncpp"
  unpack "$cache/dl"/zlib_*.dsc "$cache/src/zlib"
  touch "$stamp"
}

# Unpacks a source package with Debian's own patches applied; apt has already
# checked the files against the signed archive index.
unpack() {
  local dsc=$1 dest=$2
  dpkg-source --no-check -x "$dsc" "$dest" >/dev/null
}

install_packages
fetch_sources
echo "setup: ready (sources in $cache/src)"
