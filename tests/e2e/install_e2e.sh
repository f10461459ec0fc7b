#!/usr/bin/env bash
# Installs the game into a scratch prefix and plays it like someone who installed it: the launcher
# started from an unrelated folder, with a scratch home, in a real X window. Then checks where the
# saves went and that nothing else changed, validates the desktop files, uninstalls, and builds
# the Debian package and checks it.
# Usage: install_e2e.sh BUILD_DIR SOURCE_DIR VERSION
set -uo pipefail

build=$(readlink -f "$1")
src=$(readlink -f "$2")
version=$3

if [[ -z "${DISPLAY:-}" ]]; then
  exec xvfb-run -a -s "-screen 0 1280x800x24 -ardelay 60000" bash "$0" "$@"
fi
unset SDL_VIDEODRIVER XDG_DATA_HOME XDG_CONFIG_HOME MAKEFLAGS MFLAGS MAKELEVEL

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
check() { local what=$1; shift; if "$@"; then echo "ok: $what"; else fail "$what"; fi; }
same() { local what=$1; if [[ "$2" == "$3" ]]; then echo "ok: $what"; else fail "$what"; diff <(echo "$2") <(echo "$3") | head -20; fi; }

scratch=$(mktemp -d /tmp/bramblehoof-install-XXXXXX)
prefix=$scratch/prefix
home=$scratch/home
elsewhere=$scratch/elsewhere
mkdir -p "$home" "$elsewhere"
shots="$PWD/e2e-shots"
mkdir -p "$shots"

# Every path with its type, size and time: what "nothing changed" compares.
snapshot() { (cd "$1" 2>/dev/null && find . -printf '%y %p %s %T@ %l\n' | sort); }
names() { (cd "$1" && find . -mindepth 1 -printf '%y %P\n' | sort); }
repo_state() { git -C "$src" status --porcelain --ignored=no; snapshot "$src/files"; }

# The install below rewrites the build tree's manifest: keep the one `make install` left.
manifest="$build/install_manifest.txt"
saved_manifest=""
if [[ -f "$manifest" ]]; then saved_manifest=$scratch/manifest.saved; cp "$manifest" "$saved_manifest"; fi
restore() {
  if [[ -n "$saved_manifest" ]]; then cp "$saved_manifest" "$manifest"; else rm -f "$manifest"; fi
  rm -rf "$scratch"
}
trap restore EXIT

repo_before=$(repo_state)

echo "== install into a scratch prefix"
cmake --install "$build" --prefix "$prefix" >"$scratch/install.log" 2>&1 || { cat "$scratch/install.log"; fail "install"; exit 1; }
cp "$manifest" "$scratch/manifest"
app=io.github.bramblehoof.Bramblehoof
expected="f bin/bramblehoof
f libexec/bramblehoof/bramblehoof
f share/applications/$app.desktop
f share/doc/bramblehoof/examples/settings.ini
f share/icons/hicolor/128x128/apps/bramblehoof.png
f share/icons/hicolor/256x256/apps/bramblehoof.png
f share/icons/hicolor/32x32/apps/bramblehoof.png
f share/icons/hicolor/48x48/apps/bramblehoof.png
f share/icons/hicolor/64x64/apps/bramblehoof.png
f share/man/man6/bramblehoof.6.gz
f share/metainfo/$app.metainfo.xml
$(cd "$src/images" && find . -type f -printf 'f share/bramblehoof/images/%P\n')
$(cd "$src/sounds" && find . -type f -printf 'f share/bramblehoof/sounds/%P\n')
$(cd "$src/po" && for po in *.po; do echo "f share/locale/${po%.po}/LC_MESSAGES/bramblehoof.mo"; done)"
same "installed files are the game, launcher, pictures, desktop files, man page and settings example" \
  "$(sort <<<"$expected")" "$(names "$prefix" | grep -v '^d ')"
same "the manifest lists exactly the installed files" \
  "$(names "$prefix" | grep -v '^d ' | sed "s|^f |$prefix/|" | sort)" "$(sort "$scratch/manifest")"
check "installed pictures are the built ones" diff -r "$src/images" "$prefix/share/bramblehoof/images"
check "installed sounds are the built ones" diff -r "$src/sounds" "$prefix/share/bramblehoof/sounds"
check "installed translations are the built ones" diff -r "$src/locale" "$prefix/share/locale"
check "desktop entry is valid" desktop-file-validate "$prefix/share/applications/$app.desktop"
metainfo=$prefix/share/metainfo/$app.metainfo.xml
appstreamcli validate --no-net --pedantic "$metainfo" >"$scratch/appstream.txt" 2>&1
check "AppStream data is valid, even pedantically, but for the capitals of its id" \
  bash -c "! grep -E '^[EWIP]: ' '$scratch/appstream.txt' | grep -v ': cid-contains-uppercase-letter$' | grep -q ."
readme_shots=$(grep -o 'docs/screenshots/[a-z]*\.png' "$src/README.md" | sort)
check "AppStream data shows the README's screenshots, each once" \
  test "$(grep -o '/docs/screenshots/[a-z]*\.png</image>' "$metainfo" | sed 's|^/||; s|</image>$||' | sort)" = "$readme_shots"
summary=$(sed -n 's|.*<summary>\(.*\)</summary>.*|\1|p' "$metainfo")
check "AppStream summary is at most 35 characters, without a full stop or the game's name (was '$summary')" \
  bash -c "[ \${#1} -ge 1 ] && [ \${#1} -le 35 ] && [[ \$1 != *. ]] && [[ \$1 != *Bramblehoof* ]] && [[ \$1 == [A-Z]* ]]" _ "$summary"
check "AppStream brand colours are given for the light and the dark scheme" \
  bash -c "grep -Eq '<color type=\"primary\" scheme_preference=\"light\">#[0-9a-f]{6}</color>' '$metainfo' &&
           grep -Eq '<color type=\"primary\" scheme_preference=\"dark\">#[0-9a-f]{6}</color>' '$metainfo'"
check "every AppStream release has notes" \
  awk '/<release /{r++} /<release /,/<\/release>/{if (/<description>/) d++} END{exit !(r > 0 && r == d)}' "$metainfo"
check "the release notes are filled in" bash -c "! grep -q '@[A-Z_]*@' '$metainfo'"
check "AppStream data names the developer, the controls and a content rating" \
  bash -c "grep -q '<developer_name>' '$metainfo' && grep -q '<control>keyboard</control>' '$metainfo' &&
           grep -q '<control>pointing</control>' '$metainfo' && grep -q '<content_rating type=\"oars-' '$metainfo'"
for size in 32 48 64 128 256; do
  check "icon ${size}x${size} has that size" \
    test "$(identify -format '%wx%h' "$prefix/share/icons/hicolor/${size}x${size}/apps/bramblehoof.png")" = "${size}x${size}"
done
check "man page in section 6 reads without warnings" \
  bash -c "zcat '$prefix/share/man/man6/bramblehoof.6.gz' | groff -man -Tutf8 -ww -z 2>&1 | (! grep .)"
prefix_before=$(snapshot "$prefix")

# A wrong option must not open a window: bounded, so a game that starts anyway fails the check.
launcher() { (cd "$elsewhere" && timeout 10 env HOME="$home" "$@"); }

echo "== options print and exit without a window, and make nothing"
for option in --version -V; do
  out=$(launcher "$prefix/bin/bramblehoof" "$option" 2>"$scratch/err"); rc=$?
  check "$option exits 0 (was $rc)" test "$rc" -eq 0
  same "$option prints the project's version" "bramblehoof $version" "$out"
done
for option in --help -h; do
  out=$(launcher "$prefix/bin/bramblehoof" "$option" 2>"$scratch/err"); rc=$?
  check "$option exits 0 (was $rc)" test "$rc" -eq 0
  check "$option prints the usage" grep -q '^Usage: bramblehoof .*--mute' <<<"$out"
  check "$option writes nothing on standard error" test ! -s "$scratch/err"
done
out=$(launcher "$prefix/bin/bramblehoof" --fly 2>"$scratch/err"); rc=$?
check "an unknown option exits 2 (was $rc)" test "$rc" -eq 2
check "an unknown option prints nothing on standard output" test -z "$out"
same "an unknown option is named in one line, with where to read the usage" \
  "$(printf '%s\n' "bramblehoof: unknown option '--fly'" "Try 'bramblehoof --help' for more information.")" \
  "$(cat "$scratch/err")"
check "no option made the data folder, nor anything else" test -z "$(ls -A "$home")$(ls -A "$elsewhere")"

echo "== where the launcher keeps the saves (a stand-in game that tells its folder)"
# The installed tree copied, with the game replaced by a script that prints the folder it runs in.
fake=$scratch/fake
cp -a "$prefix" "$fake"
program=$(find "$fake" -path '*/bramblehoof/bramblehoof' -type f ! -path '*/share/*' | head -1)
printf '#!/bin/sh\necho "$PWD"\n' >"$program"
fakehome=$scratch/fakehome
mkdir -p "$fakehome"
where() { (cd "$elsewhere" && env -u XDG_DATA_HOME -u HOME "$@" timeout 10 "$fake/bin/bramblehoof" --mute 2>"$scratch/err"); }
out=$(where HOME="$fakehome" XDG_DATA_HOME=saves); rc=$?
same "a relative XDG_DATA_HOME is ignored: the saves go under HOME" "$fakehome/.local/share/bramblehoof" "$out"
check "nothing is made in the folder it was started from" test -z "$(ls -A "$elsewhere")"
check "one line says it was ignored" \
  bash -c "test \$(wc -l <'$scratch/err') -eq 1 && grep -q '^bramblehoof: XDG_DATA_HOME (saves) is not an absolute path' '$scratch/err'"
out=$(where XDG_DATA_HOME=saves); rc=$?
check "a relative XDG_DATA_HOME and no HOME: exit 1 (was $rc), nothing started" test "$rc" -eq 1 -a -z "$out"
same "... in one line that says so" \
  "bramblehoof: XDG_DATA_HOME (saves) is not an absolute path and HOME is not set: nowhere to keep the saves" \
  "$(cat "$scratch/err")"
touch "$scratch/not-a-folder"
out=$(where HOME="$fakehome" XDG_DATA_HOME="$scratch/not-a-folder"); rc=$?
check "a data folder that cannot be made: exit 1 (was $rc), nothing started" test "$rc" -eq 1 -a -z "$out"
same "... in one line of the launcher's own" \
  "bramblehoof: cannot make $scratch/not-a-folder/bramblehoof/files for the saves: Not a directory" \
  "$(cat "$scratch/err")"
check "nothing is made in the folder it was started from" test -z "$(ls -A "$elsewhere")"

echo "== play: type a name, NEW GAME, walk, close"
# (SDL drops a click read in one batch with the focus, as a game still starting up on a busy
# machine reads them: tests/e2e/lib.sh.)
(cd "$elsewhere" && exec env HOME="$home" SDL_MOUSE_FOCUS_CLICKTHROUGH=1 "$prefix/bin/bramblehoof" >"$scratch/trace.txt" 2>"$scratch/stderr.txt") &
pid=$!
wid=$(timeout 20 xdotool search --sync --name '^Bramblehoof$' | head -1)
if [[ -z "$wid" ]]; then fail "window appeared"; kill -KILL "$pid"; exit 1; fi
xdotool windowfocus --sync "$wid" 2>/dev/null || true
sleep 0.5
xdotool type --delay 60 "Dee"
sleep 0.3
xdotool mousemove --window "$wid" 540 360 click 1
sleep 1
xdotool key --delay 100 d d d s s
sleep 0.3
import -window root "$shots/installed-play.png" 2>/dev/null || fail "screenshot"
kill -TERM "$pid"
for _ in $(seq 1 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$pid" 2>/dev/null; then fail "game ended after SIGTERM"; kill -KILL "$pid"; fi
wait "$pid"; rc=$?
check "exit status 0 (was $rc)" test "$rc" -eq 0
check "the trace starts as always" test "$(head -n 1 "$scratch/trace.txt")" = "Inited"
check "NEW GAME started a run" grep -qF "huy" "$scratch/trace.txt"
check "the trace ends as always" test "$(tail -n 1 "$scratch/trace.txt")" = "Game Cleaned"
check "nothing on standard error" bash -c "! grep -v XDG_RUNTIME_DIR '$scratch/stderr.txt' | grep -q ."

data=$home/.local/share/bramblehoof
# (The sound server's client library keeps a link of its own under ~/.config: not ours to check.)
same "the player's folder holds the saves and links to the pictures, sounds and translations, nothing else" \
  "$(printf '%s\n' 'd share' 'd share/bramblehoof' 'd share/bramblehoof/files' 'd share/bramblehoof/files/runs' \
      'f share/bramblehoof/files/players.bin' 'f share/bramblehoof/files/replay.txt' \
      'f share/bramblehoof/files/resE.bin' 'f share/bramblehoof/files/resP.bin' \
      'f share/bramblehoof/files/runs/0.run' 'f share/bramblehoof/files/runs/last.run' \
      'f share/bramblehoof/files/runs/times.txt' \
      'f share/bramblehoof/files/save.lock' 'l share/bramblehoof/images' 'l share/bramblehoof/locale' \
      'l share/bramblehoof/sounds')" \
  "$(names "$home/.local")"
check "images links to the installed pictures" \
  test "$(readlink "$data/images")" = "$(readlink -f "$prefix/share/bramblehoof/images")"
check "locale links to the installed translations" \
  test "$(readlink "$data/locale")" = "$(readlink -f "$prefix/share/locale")"
check "one 56-byte players record" test "$(stat -c %s "$data/files/players.bin")" -eq 56
verified=$(launcher "$prefix/bin/bramblehoof" --verify "$data/files/runs/last.run" 2>"$scratch/err"); rc=$?
check "the run's recording plays again as it was played (exit $rc: $verified)" \
  test "$rc" -eq 0 -a "${verified#Dee: closed at level 1, score 0, }" != "$verified"
check "saved hero written" test "$(stat -c %s "$data/files/resP.bin")" -eq 56
check "frames recorded" test "$(wc -l <"$data/files/replay.txt")" -gt 10
check "the working folder is untouched" test -z "$(ls -A "$elsewhere")"
same "the prefix is untouched" "$prefix_before" "$(snapshot "$prefix")"

echo "== a second player (XDG_DATA_HOME) has saves of their own"
first=$(snapshot "$data")
(cd "$elsewhere" && exec env HOME="$home" XDG_DATA_HOME="$scratch/second" "$prefix/bin/bramblehoof" >/dev/null 2>&1) &
pid=$!
wid=$(timeout 20 xdotool search --sync --name '^Bramblehoof$' | head -1)
[[ -n "$wid" ]] || fail "second window appeared"
sleep 0.5
kill -TERM "$pid"
for _ in $(seq 1 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$pid" 2>/dev/null && kill -KILL "$pid"
wait "$pid"
check "the second player's saves are in their folder" test -f "$scratch/second/bramblehoof/files/players.bin"
same "the first player's saves are untouched" "$first" "$(snapshot "$data")"

echo "== the installed game speaks the desktop's language"
# The menu of a fresh player's folder, shown with LANGUAGE set: the launcher's locale/ link leads
# the game to the installed catalogues.
menu_in() {
  (cd "$elsewhere" && exec env HOME="$home" XDG_DATA_HOME="$scratch/lang-$1" LANGUAGE="$1" \
    "$prefix/bin/bramblehoof" --mute >"$scratch/trace-$1.txt" 2>"$scratch/stderr-$1.txt") &
  local pid=$!
  local wid
  wid=$(timeout 20 xdotool search --sync --name '^Bramblehoof$' | head -1)
  [[ -n "$wid" ]] || fail "the window appeared ($1)"
  sleep 1
  import -window "$wid" "$shots/installed-menu-$1.png" 2>/dev/null || fail "screenshot ($1)"
  kill -TERM "$pid"
  for _ in $(seq 1 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$pid" 2>/dev/null && kill -KILL "$pid"
  wait "$pid"
}
menu_in en
menu_in de
differ=$(compare -metric AE "$shots/installed-menu-en.png" "$shots/installed-menu-de.png" null: 2>&1 | cut -d' ' -f1)
check "the German menu is drawn in German ($differ pixels differ)" test "${differ%%.*}" -gt 2000
same "... and traces as the English one" "$(cat "$scratch/trace-en.txt")" "$(cat "$scratch/trace-de.txt")"
check "... saying nothing on standard error" bash -c "! grep -hv XDG_RUNTIME_DIR '$scratch/stderr-de.txt' | grep -q ."

echo "== uninstall"
cmake -DMANIFEST="$scratch/manifest" -P "$src/dist/uninstall.cmake" >/dev/null || fail "uninstall ran"
check "no file is left under the prefix" test -z "$(find "$prefix" ! -type d)"
check "no folder of the game's is left" test -z "$(find "$prefix" -name bramblehoof)"
check "the player's saves stay" test -s "$data/files/players.bin"

echo "== Debian package"
tree=$build/tests/package-tree
if make -C "$src" --no-print-directory package PACKAGE_BUILD="$tree" >"$scratch/package.log" 2>&1; then
  deb=$tree/bramblehoof_${version}_amd64.deb
  [[ -f "$deb" ]] || deb=$(ls "$tree"/bramblehoof_"$version"_*.deb | head -1)
  expected_deb="l usr/share/games/bramblehoof/images/slkscr.ttf
f usr/games/bramblehoof
f usr/lib/games/bramblehoof/bramblehoof
f usr/share/applications/$app.desktop
f usr/share/doc/bramblehoof/changelog.gz
f usr/share/doc/bramblehoof/copyright
f usr/share/doc/bramblehoof/examples/settings.ini
f usr/share/icons/hicolor/128x128/apps/bramblehoof.png
f usr/share/icons/hicolor/256x256/apps/bramblehoof.png
f usr/share/icons/hicolor/32x32/apps/bramblehoof.png
f usr/share/icons/hicolor/48x48/apps/bramblehoof.png
f usr/share/icons/hicolor/64x64/apps/bramblehoof.png
f usr/share/lintian/overrides/bramblehoof
f usr/share/man/man6/bramblehoof.6.gz
f usr/share/metainfo/$app.metainfo.xml
$(cd "$src/images" && find . -type f ! -name slkscr.ttf -printf 'f usr/share/games/bramblehoof/images/%P\n')
$(cd "$src/sounds" && find . -type f -printf 'f usr/share/games/bramblehoof/sounds/%P\n')
$(cd "$src/po" && for po in *.po; do echo "f usr/share/locale/${po%.po}/LC_MESSAGES/bramblehoof.mo"; done)"
  listed=$(dpkg-deb -c "$deb" | awk '{ t = substr($1, 1, 1); if (t != "d") { sub(/^\.\//, "", $6); print (t == "-" ? "f" : t), $6 } }')
  same "package files follow Debian's games layout" "$(sort <<<"$expected_deb")" "$(sort <<<"$listed")"
  check "package version is the project's" test "$(dpkg-deb -f "$deb" Version)" = "$version"
  depends=$(dpkg-deb -f "$deb" Depends)
  for lib in libsdl2-2.0-0 libsdl2-image-2.0-0 libsdl2-ttf-2.0-0 libsdl2-mixer-2.0-0 libinih1 libc6 fonts-dotgothic16; do
    check "depends on $lib" grep -q "\\b$lib\\b" <<<"$depends"
  done
  lintian -I --pedantic "$deb" >"$scratch/lintian.txt" 2>&1
  cat "$scratch/lintian.txt" | grep -v 'root privileges'
  check "lintian -I --pedantic reports nothing" bash -c "! grep -q '^[EWIPX]:' '$scratch/lintian.txt'"
  # The override of lintian's fortify check must not hide a build without Debian's hardening.
  mkdir -p "$scratch/elf"
  dpkg-deb -x "$deb" "$scratch/elf"
  program=$scratch/elf/usr/lib/games/bramblehoof/bramblehoof
  symbols=$(nm -D "$program")
  check "the packaged program calls fortified functions" grep -q '__[a-z_]*_chk@' <<<"$symbols"
  check "the packaged program has the stack protector" grep -q '__stack_chk_fail@' <<<"$symbols"
  check "the packaged program's relocations are read-only and bound at start" \
    bash -c "readelf -lW '$program' | grep -q GNU_RELRO && readelf -dW '$program' | grep -q 'BIND_NOW'"
  check "the packaged program carries no .comment section" bash -c "! readelf -SW '$program' | grep -q '\.comment'"
  # Unpacked beside a link to the system's fonts, the package's launcher works where it lies.
  mkdir -p "$scratch/deb" "$scratch/debhome"
  dpkg-deb -x "$deb" "$scratch/deb"
  ln -s /usr/share/fonts "$scratch/deb/usr/share/fonts"
  out=$(cd "$elsewhere" && HOME="$scratch/debhome" timeout 10 "$scratch/deb/usr/games/bramblehoof" --version)
  same "the packaged launcher starts the packaged game" "bramblehoof $version" "$out"
  check "the packaged font link reaches the font" test -s "$scratch/deb/usr/share/games/bramblehoof/images/slkscr.ttf"
else
  tail -30 "$scratch/package.log"
  fail "make package"
fi

same "the repository is untouched" "$repo_before" "$(repo_state)"

echo "screenshot in $shots/installed-play.png"
if [[ $failures -gt 0 ]]; then
  echo "$failures install check(s) failed"
  exit 1
fi
echo "all install checks passed"
