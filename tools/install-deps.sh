#!/usr/bin/env bash
# Installs the Debian packages the game, its tests and its tools need.
# Does nothing when everything is already there, so `make run` stays quick.
set -euo pipefail

packages=(
  cmake make g++ pkg-config
  libsdl2-dev libsdl2-image-dev libsdl2-ttf-dev
  libsdl2-mixer-dev
  libinih-dev
  libgtest-dev libbenchmark-dev
  clang libclang-rt-14-dev
  fonts-dotgothic16
  xvfb xauth xdotool imagemagick x11-utils
  desktop-file-utils
  appstream
  lintian
  dpkg-dev
  strace
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing missing packages: ${missing[*]}" >&2
if [[ $(id -u) -eq 0 ]]; then
  sudo=()
elif command -v sudo >/dev/null; then
  sudo=(sudo)
else
  echo "Need root or sudo to install: ${missing[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -q
"${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
