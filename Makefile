# Front door: `make test` and `make play` set up what is missing, then build.
JOBS ?= 2
CTEST := ctest --output-on-failure -j$(JOBS)

.PHONY: all deps native sanitize windows test test-native test-sanitize bench tools clean

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

# Every suite: plain, under the sanitizers, and the Windows build.
test: test-native test-sanitize windows

tools: native
	@echo "Tools are in build/native/bin: vrel-tool"

bench: native
	@echo "no benchmarks yet"

clean:
	rm -rf build
