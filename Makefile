# Front door: `make test` and `make play` set up what is missing, then build.
JOBS ?= 2
CTEST := ctest --output-on-failure -j$(JOBS)

.PHONY: all deps native sanitize windows test test-native test-sanitize test-windows screenshots bench tools clean play dist fuzzer fuzz test-fuzz

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

test-native: native
	cd build/native && $(CTEST)

test-sanitize: sanitize
	cd build/sanitize && $(CTEST)

# The Windows tests run under Wine, on one private display for the suite.
test-windows: windows
	cd build/windows && xvfb-run -a -s "-screen 0 1024x768x24" $(CTEST)

# Pictures of a scripted game for the documentation, in docs/.
screenshots: windows
	scripts/wine-screenshots build/windows docs

# Every suite: plain, under the sanitizers, the fuzzer, and the Windows build
# under Wine (last, so that its summary closes the run).
test: test-native test-sanitize test-fuzz test-windows

tools: native
	@echo "Tools are in build/native/bin: vrel-tool (vrel-tool --help)"

bench: native
	build/native/bin/vrel-bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

# Builds the Windows program and plays it: under Wine on Linux, directly on Windows.
play:
	@JOBS=$(JOBS) scripts/play

# The download for Windows players: the program, its dictionary, its help
# file and the help as text, the word list's notice and a read-me, in
# build/dist/Vrel-2.0.5-win64.zip.
DIST_NAME := Vrel-2.0.5-win64
DIST_FILES := Vrel.exe VREL.DAT Vrel.HLP HELP.txt wamerican-copyright.txt README.txt
dist: windows
	@test -f data/VREL.DAT && test -f data/wamerican-copyright.txt || \
	  { echo "dist: data/VREL.DAT and data/wamerican-copyright.txt are needed" >&2; exit 1; }
	rm -rf build/dist
	mkdir -p build/dist/$(DIST_NAME)
	cp build/windows/bin/Vrel.exe build/windows/bin/Vrel.HLP build/windows/bin/HELP.txt \
	  data/VREL.DAT data/wamerican-copyright.txt build/dist/$(DIST_NAME)/
	sed 's/$$/\r/' resources/dist-readme.txt > build/dist/$(DIST_NAME)/README.txt
	cd build/dist/$(DIST_NAME) && zip -q -X ../$(DIST_NAME).zip $(DIST_FILES)
	@echo "Made build/dist/$(DIST_NAME).zip"

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
