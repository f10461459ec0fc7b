# One-command set-up on a fresh Debian 12 machine: `make run` plays, `make test` checks everything.
BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc 2>/dev/null || echo 2)
# Where `make install` puts the game: system-wide for root, in the user's own ~/.local otherwise.
PREFIX     ?= $(if $(filter 0,$(shell id -u)),/usr/local,$(HOME)/.local)
PACKAGE_BUILD ?= build-package

.PHONY: pot golden all deps deps-test deps-package deps-bench configure configure-all build build-all run test test-fast test-asan test-fuzz bench bench-window clean install uninstall package

all: build

# make's own "Entering directory" lines (cmake's build runs make within make) say nothing to a player.
MAKEFLAGS += --no-print-directory

# What each purpose needs, installed when missing: playing (build, run, install), the tests, the
# Debian package, the benchmarks.
deps:
	@bash tools/install-deps.sh play
deps-test:
	@bash tools/install-deps.sh test
deps-package:
	@bash tools/install-deps.sh package
deps-bench:
	@bash tools/install-deps.sh bench

# What a player needs: the program, its pictures and font, its sounds and the installed files.
GAME_TARGETS := bramblehoof pictures sounds translations dist_files

# Any warning fails the build; `make build WERROR=OFF` lets a newer compiler's new warnings pass.
WERROR     ?= ON

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRAMBLEHOOF_WERROR=$(WERROR) >/dev/null

# The same tree with the tests, which then must be buildable.
configure-all: deps-test
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRAMBLEHOOF_WERROR=$(WERROR) \
	  -DBRAMBLEHOOF_TESTS_REQUIRED=ON >/dev/null

# Builds the game at build/bramblehoof and makes everything it loads under images/ and sounds/;
# the tests and their tools are left to `make test`, so a player waits only for the game.
build: configure
	@cmake --build $(BUILD) -j $(JOBS) --target $(GAME_TARGETS)

# The game and every test binary.
build-all: configure-all
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/bramblehoof

# Installs what `make build` made (building it first if needed, so `sudo make install` after
# `make build` leaves the build tree alone). The list of installed files is kept in
# $(BUILD)/install_manifest.txt for `make uninstall`.
install:
	@test -x $(BUILD)/bramblehoof || $(MAKE) --no-print-directory build
	cmake --install $(BUILD) --prefix "$(PREFIX)"

uninstall:
	cmake -DMANIFEST=$(CURDIR)/$(BUILD)/install_manifest.txt -P dist/uninstall.cmake

# The Debian package, built in its own tree with Debian's layout for games under /usr.
package: deps-package
	@cmake -S . -B $(PACKAGE_BUILD) -DCMAKE_BUILD_TYPE=Release -DBRAMBLEHOOF_TESTS=OFF \
	  -DBRAMBLEHOOF_DEBIAN_LAYOUT=ON -DCMAKE_INSTALL_PREFIX=/usr \
	  -DBRAMBLEHOOF_PICTURES_DIR=$(abspath $(PACKAGE_BUILD))/images \
	  -DBRAMBLEHOOF_SOUNDS_DIR=$(abspath $(PACKAGE_BUILD))/sounds \
	  -DBRAMBLEHOOF_LOCALE_DIR=$(abspath $(PACKAGE_BUILD))/locale >/dev/null
	@cmake --build $(PACKAGE_BUILD) -j $(JOBS)
	cd $(PACKAGE_BUILD) && cpack -G DEB

# Every test: the normal build, then the same tests under AddressSanitizer and
# UndefinedBehaviorSanitizer, then the file readers' fuzz targets.
test: build-all
	@$(MAKE) --no-print-directory test-fast test-asan test-fuzz

test-fast:
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

test-asan: deps-test
	@cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DBRAMBLEHOOF_SANITIZE=ON -DBRAMBLEHOOF_WERROR=ON \
	  -DBRAMBLEHOOF_TESTS_REQUIRED=ON >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && \
	  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure -j $(JOBS)

test-fuzz: deps-test
	@if [ -f tests/fuzz/run_fuzz.sh ]; then bash tests/fuzz/run_fuzz.sh build-fuzz; fi

# Frame and file benchmarks, headless on the software renderer (figures in docs/PERFORMANCE.md).
bench: build deps-bench
	@cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DBRAMBLEHOOF_BENCH=ON -DBRAMBLEHOOF_TESTS=OFF >/dev/null
	@cmake --build build-bench -j $(JOBS) --target bench_play_frame bench_persist bench_watch
	SDL_VIDEODRIVER=dummy ./build-bench/bench/bench_play_frame
	./build-bench/bench/bench_persist
	SDL_VIDEODRIVER=dummy ./build-bench/bench/bench_watch

# The level-3 play frame against the floor in a real window on Xvfb (the OpenGL renderer, vsync
# off), the two loops taken in turns, five runs: whole-process CPU time per frame.
bench-window: build deps-bench deps-test
	@cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DBRAMBLEHOOF_BENCH=ON -DBRAMBLEHOOF_TESTS=OFF >/dev/null
	@cmake --build build-bench -j $(JOBS) --target bench_play_frame
	xvfb-run -a -s "-screen 0 1280x800x24" env BRAMBLEHOOF_BENCH_VIDEO=x11 SDL_RENDER_VSYNC=0 \
	  ./build-bench/bench/bench_play_frame --benchmark_filter='Against' --benchmark_repetitions=5

# Plays the kept recordings of tests/golden again (a win, a death, a closed run, a resume quit to
# the menu) and writes them with the line --verify prints for each: after a change to the world's
# rules that is meant, and only then.
golden: build-all
	BRAMBLEHOOF_GOLDEN_DIR=$(CURDIR)/tests/golden SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy \
	  ./$(BUILD)/tests/shell_tests --gtest_filter=RecordingTest.MakeTheGoldenRecordings

# The translators' template made again from the texts table, and every translation brought up to
# it (new texts appear untranslated in each po/LANG.po; see the README's "Adding a language").
pot: configure
	@cmake --build $(BUILD) --target pot
	@for po in po/*.po; do msgmerge --quiet --update --backup=none --no-fuzzy-matching "$$po" po/bramblehoof.pot; done

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) build-fuzz build-bench $(PACKAGE_BUILD)
