#!/usr/bin/env bash
# Installs the Debian packages one purpose needs, each purpose one list:
#   play     building and running the game (make build, make run, make install)
#   package  the Debian package (make package): play, and Debian's packaging tools
#   test     every test (make test): play, the test libraries, the sanitizers' runtime, a virtual
#            display and its tools, the desktop files' and packages' checkers, strace
#   bench    the benchmarks (make bench): play and Google Benchmark
# Usage: install-deps.sh [play|package|test|bench] (play when none is named).
# Does nothing when everything is already there, so `make run` stays quick.
set -euo pipefail

play=(
  cmake make g++ pkg-config
  libsdl2-dev libsdl2-image-dev libsdl2-ttf-dev libsdl2-mixer-dev
  libinih-dev
  fonts-dotgothic16
  gettext
)
package=(dpkg-dev)
tests=(
  libgtest-dev
  clang libclang-rt-14-dev
  xvfb xauth xdotool imagemagick x11-utils
  desktop-file-utils appstream
  lintian dpkg-dev
  strace
)
bench=(libbenchmark-dev)

purpose=${1:-play}
case "$purpose" in
  play) packages=("${play[@]}") ;;
  package) packages=("${play[@]}" "${package[@]}") ;;
  test) packages=("${play[@]}" "${tests[@]}") ;;
  bench) packages=("${play[@]}" "${bench[@]}") ;;
  *) echo "install-deps.sh: no purpose named '$purpose' (play, package, test or bench)" >&2; exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing the packages for $purpose: ${missing[*]}" >&2
if [[ $(id -u) -eq 0 ]]; then
  sudo=()
elif command -v sudo >/dev/null; then
  sudo=(sudo)
else
  echo "These packages are missing, and installing them needs root or sudo:" >&2
  echo "  apt-get install ${missing[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -q
"${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
