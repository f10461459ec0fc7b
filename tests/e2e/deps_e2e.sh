#!/usr/bin/env bash
# What each make command asks apt for, on a machine that has none of the packages: apt-get,
# dpkg-query and id are stand-ins that record what they are asked and install nothing.
# Usage: deps_e2e.sh SOURCE_DIR
set -uo pipefail
src=$1
scratch=$(mktemp -d /tmp/bramblehoof-deps-XXXXXX)
trap 'rm -rf "$scratch"' EXIT
failures=0
check() {
  local what=$1
  shift
  if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); fi
}

mkdir "$scratch/bin"
cat >"$scratch/bin/dpkg-query" <<'STUB'
#!/bin/sh
exit 1
STUB
cat >"$scratch/bin/apt-get" <<'STUB'
#!/bin/sh
echo "$*" >>"$APT_LOG"
STUB
cat >"$scratch/bin/id" <<'STUB'
#!/bin/sh
echo "${FAKE_UID:-0}"
STUB
chmod +x "$scratch/bin/"*
asked() {  # the packages apt-get was asked to install for a purpose
  : >"$scratch/apt.log"
  APT_LOG=$scratch/apt.log PATH=$scratch/bin:$PATH bash "$src/tools/install-deps.sh" "$@" 2>/dev/null
  grep '^install ' "$scratch/apt.log" | tr ' ' '\n' | grep -v '^-' | grep -v '^install$' | sort
}

play=$(asked play)
check "a player's set-up asks for the compiler, CMake, SDL2 and its libraries, inih and the font" \
  bash -c 'for p in g++ cmake libsdl2-dev libsdl2-image-dev libsdl2-ttf-dev libsdl2-mixer-dev libinih-dev fonts-dotgothic16; do
             grep -qx "$p" <<<"$1" || exit 1; done' _ "$play"
check "a player's set-up asks for nothing only the tests use (got: $(echo $play))" \
  bash -c '! grep -Eqx "libgtest-dev|libbenchmark-dev|clang|libclang-rt-.*|xvfb|xdotool|imagemagick|lintian|strace|appstream|desktop-file-utils" <<<"$1"' _ "$play"
tests=$(asked test)
check "the tests' set-up adds GoogleTest, Xvfb, the sanitizers' runtime and the checkers" \
  bash -c 'for p in libsdl2-dev libgtest-dev xvfb xdotool clang lintian appstream strace; do grep -qx "$p" <<<"$1" || exit 1; done' _ "$tests"
check "the package's set-up adds Debian's packaging tools" bash -c 'grep -qx dpkg-dev <<<"$1"' _ "$(asked package)"
check "an unknown purpose is refused" bash -c '! APT_LOG=/dev/null PATH=$1:$PATH bash "$2/tools/install-deps.sh" games 2>/dev/null' _ "$scratch/bin" "$src"

# Neither root nor sudo: nothing is run, and the player is told what to install.
mkdir "$scratch/nosudo"
ln -s "$scratch/bin/dpkg-query" "$scratch/bin/id" "$scratch/nosudo/"
said=$(FAKE_UID=1000 PATH=$scratch/nosudo /bin/bash "$src/tools/install-deps.sh" play 2>&1 >/dev/null)
check "without root or sudo the missing packages are named (said: $said)" \
  bash -c 'grep -q "root or sudo" <<<"$1" && grep -q "apt-get install .*libsdl2-dev" <<<"$1"' _ "$said"

# Each make command installs for its own purpose only.
purpose() { make -n -C "$src" "$1" 2>/dev/null | grep -o 'install-deps.sh [a-z]*' | sort -u | tr '\n' ' '; }
for target in run build; do
  check "make $target sets up for playing only (was: $(purpose $target))" test "$(purpose $target)" = "install-deps.sh play "
done
check "make test sets up for the tests (was: $(purpose test))" bash -c 'grep -q "install-deps.sh test" <<<"$1"' _ "$(purpose test)"
check "make package sets up for the package only (was: $(purpose package))" test "$(purpose package)" = "install-deps.sh package "

echo "$failures failed"
[ "$failures" -eq 0 ]
