# Front door: `make test` and `make play` set up what is missing, then build.
JOBS ?= 2

.PHONY: all deps native sanitize windows windows-clang test-windows-clang test-fuzz-then-clang test test-native test-sanitize test-windows screenshots bench tools clean play dist fuzzer fuzz test-fuzz install uninstall

all: native

deps:
	@scripts/install-deps

# Each build is a CMake preset (CMakePresets.json): its workflow configures
# and builds it, and the test- workflows run its tests too. build/PRESET
# holds it.
export CMAKE_BUILD_PARALLEL_LEVEL := $(JOBS)
export CTEST_PARALLEL_LEVEL := $(JOBS)
export CTEST_OUTPUT_ON_FAILURE := 1

# native: Linux; sanitize: its tests under the sanitizers; windows: the
# program for Windows (MinGW-w64); windows-clang: the same by clang, warnings
# being errors there too.
native sanitize windows windows-clang: deps
	cmake --workflow --preset $@

# The clang build's vrel-tool.exe, under Wine, deals and solves as the
# native vrel-tool does: the windows-clang preset's test.
test-windows-clang: native
	cmake --workflow --preset test-windows-clang

test-native: deps
	cmake --workflow --preset test-native

test-sanitize: deps
	cmake --workflow --preset test-sanitize

# The Windows tests run under Wine, on one private display with a window
# manager for the suite.
test-windows: windows
	scripts/desktop-run ctest --preset windows

# Pictures of a scripted game for the documentation, in docs/.
screenshots: windows
	scripts/wine-screenshots build/windows docs

# Every suite: plain, under the sanitizers, the fuzzer, the clang build for
# Windows, and the Windows build under Wine. The Wine suite keeps about one
# core busy, its display tests running one at a time, so the fuzzing and the
# clang build run beside it; each side's output is shown whole when it ends.
test:
	$(MAKE) test-native
	$(MAKE) test-sanitize
	$(MAKE) test-web
	$(MAKE) windows
	$(MAKE) -j2 --output-sync=recurse test-windows test-fuzz-then-clang

test-fuzz-then-clang:
	$(MAKE) test-fuzz
	$(MAKE) test-windows-clang

tools: native
	@echo "Tools are in build/native/bin: vrel-tool (vrel-tool --help)"

# The CanTrace sweep checks every answer on its hardest inputs and reports the
# slowest; then the benchmarks, and the page's beside them (bench-web).
bench: native
	build/native/bin/vrel-trace-sweep
	build/native/bin/vrel-bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
	$(MAKE) bench-web

# Builds the Windows program and plays it: under Wine on Linux, directly on
# Windows. EDITION=CODE (a code of resources/editions/list) plays that
# edition; the list's first, English, by default.
play:
	@JOBS=$(JOBS) scripts/play $(EDITION)

# The game in the desktop's menu, for the user who runs it (no root):
# `make install`, `make uninstall` (PURGE=1: the dictionary of added words
# too). PREFIX (default ~/.local) holds the launcher in bin/; the game
# folder, the menu entry and the icons go to XDG_DATA_HOME (default
# PREFIX/share). EDITION=CODE installs a language edition from
# build/windows/editions/CODE/ beside the English game.
PREFIX ?= $(HOME)/.local
install: windows
	@PREFIX="$(PREFIX)" scripts/desktop-install install $(EDITION)

uninstall:
	@PREFIX="$(PREFIX)" PURGE="$(PURGE)" scripts/desktop-install uninstall $(EDITION)

# The downloads for Windows players, one zip per edition in build/dist:
# Vrel-VERSION-win64.zip (English) and Vrel-VERSION-CODE-win64.zip, VERSION
# being the project's in CMakeLists.txt, each with the program, its
# dictionary, its help file and the help as text, the word list's notice and
# a read-me.
dist: windows web
	rm -rf build/dist
	@for code in $$(VREL_ROOT=. sh -c '. scripts/lib.sh && vrel_editions'); do \
	  scripts/dist-edition $$code || exit 1; done
	$(WEB_ZIP)

# The dictionary reader under libFuzzer: `make fuzz` runs for FUZZ_SECONDS;
# `make test-fuzz` replays the seed corpus and fuzzes briefly.
FUZZ_SECONDS ?= 300
FUZZER := build/fuzz/bin/dictionary_fuzz
FUZZ_FLAGS := -max_len=65536 -timeout=10 -rss_limit_mb=4096

fuzzer: deps
	cmake --workflow --preset fuzz

fuzz: fuzzer
	mkdir -p build/fuzz/corpus
	$(FUZZER) $(FUZZ_FLAGS) -max_total_time=$(FUZZ_SECONDS) build/fuzz/corpus tests/fuzz/corpus

test-fuzz: fuzzer
	$(FUZZER) $(FUZZ_FLAGS) tests/fuzz/corpus/*
	mkdir -p build/fuzz/corpus
	$(FUZZER) $(FUZZ_FLAGS) -max_total_time=15 -print_final_stats=1 build/fuzz/corpus tests/fuzz/corpus

clean:
	rm -rf build

# The game in a web page: `make web` builds the static site in
# build/web/site (any static host serves it), `make play-web` serves it on
# this machine and prints the address (PORT=N for another port than 8000).
# `make test-web` runs the browser tests in headless Chromium; `make
# bench-web` times the page beside the native build.
.PHONY: web play-web test-web bench-web screenshots-web
export NODE_PATH := /usr/share/nodejs
web: deps
	cmake --workflow --preset web

play-web: web
	@python3 web/serve.py build/web/site

test-web: web native
	node --test --test-concurrency=1 web/tests/

bench-web: web native
	node web/tests/bench.mjs

# The README's pictures of the page, on a desktop and on a phone, of the
# results and of the Statistics window, taken by the browser tests of those
# windows.
screenshots-web: web native
	VREL_SCREENSHOTS=docs node --test --test-name-pattern='^a phone|^a desktop|pointed at|^Statistics' web/tests/game.test.mjs web/tests/daily.test.mjs

# The page's download, Vrel-VERSION-web.zip, for `make dist`.
WEB_ZIP = cd build/web/site && zip -qr ../../dist/Vrel-$$(cat ../version)-web.zip .
