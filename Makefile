# Front door: `make test` and `make play` set up what is missing, then build.
JOBS ?= 2
CTEST := ctest --output-on-failure -j$(JOBS)

.PHONY: all deps native sanitize windows windows-clang test-windows-clang test-fuzz-then-clang test test-native test-sanitize test-windows screenshots bench tools clean play dist fuzzer fuzz test-fuzz install uninstall

all: native

deps:
	@scripts/install-deps

native: deps
	cmake --preset native
	cmake --build --preset native -j$(JOBS)

sanitize: deps
	cmake --preset sanitize
	cmake --build --preset sanitize -j$(JOBS)

windows: deps
	cmake --preset windows
	cmake --build --preset windows -j$(JOBS)

# The same Windows program, engine and tools built by clang (warnings are
# errors there too).
windows-clang: deps
	cmake --preset windows-clang
	cmake --build --preset windows-clang -j$(JOBS)

# The clang build's vrel-tool.exe, under Wine, deals and solves twenty games
# exactly as the native vrel-tool does.
CLANG_CHECK := build/windows-clang/deal
test-windows-clang: windows-clang native
	build/native/bin/vrel-tool deal --dict data/VREL.DAT --seed 1 --games 20 > $(CLANG_CHECK).expected
	scripts/wine-run --prefix=build/windows-clang/wineprefix \
	  build/windows-clang/bin/vrel-tool.exe deal --dict data/VREL.DAT --seed 1 --games 20 > $(CLANG_CHECK).raw
	tr -d '\r' < $(CLANG_CHECK).raw | cmp - $(CLANG_CHECK).expected
	@echo "windows-clang: vrel-tool.exe deals as the native build does"

test-native: native
	cd build/native && $(CTEST)

test-sanitize: sanitize
	cd build/sanitize && $(CTEST)

# The Windows tests run under Wine, on one private display with a window
# manager for the suite.
test-windows: windows
	cd build/windows && ../../scripts/desktop-run $(CTEST)

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
	$(MAKE) windows
	$(MAKE) -j2 --output-sync=recurse test-windows test-fuzz-then-clang

test-fuzz-then-clang:
	$(MAKE) test-fuzz
	$(MAKE) test-windows-clang

tools: native
	@echo "Tools are in build/native/bin: vrel-tool (vrel-tool --help)"

# The CanTrace sweep checks every answer on its hardest inputs and reports the
# slowest; then the benchmarks.
bench: native
	build/native/bin/vrel-trace-sweep
	build/native/bin/vrel-bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

# Builds the Windows program and plays it: under Wine on Linux, directly on
# Windows. EDITION=de (sv, da, nb, nl) plays that edition; English by default.
EDITION ?= en
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
# Vrel-2.0.5-win64.zip (English) and Vrel-2.0.5-CODE-win64.zip, each with
# the program, its dictionary, its help file and the help as text, the word
# list's notice and a read-me.
EDITIONS := $(notdir $(wildcard resources/editions/*))
dist: windows
	rm -rf build/dist
	@for code in en $(EDITIONS); do scripts/dist-edition $$code || exit 1; done

# The dictionary reader under libFuzzer: `make fuzz` runs for FUZZ_SECONDS;
# `make test-fuzz` replays the seed corpus and fuzzes briefly.
FUZZ_SECONDS ?= 300
FUZZER := build/fuzz/bin/dictionary_fuzz
FUZZ_FLAGS := -max_len=65536 -timeout=10 -rss_limit_mb=4096

fuzzer: deps
	cmake --preset fuzz
	cmake --build --preset fuzz -j$(JOBS)

fuzz: fuzzer
	mkdir -p build/fuzz/corpus
	$(FUZZER) $(FUZZ_FLAGS) -max_total_time=$(FUZZ_SECONDS) build/fuzz/corpus tests/fuzz/corpus

test-fuzz: fuzzer
	$(FUZZER) $(FUZZ_FLAGS) tests/fuzz/corpus/*
	mkdir -p build/fuzz/corpus
	$(FUZZER) $(FUZZ_FLAGS) -max_total_time=15 -print_final_stats=1 build/fuzz/corpus tests/fuzz/corpus

clean:
	rm -rf build
