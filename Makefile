# The two commands of the README: `make demo` and `make test`. Everything else wraps
# CMake (Ninja) and the scripts in scripts/. `make install`, `make uninstall` (PREFIX, default
# per-user) and `make dist` (the release archives in build/dist) reuse the builds.
JOBS        ?= $(shell nproc)
BUILD       := build
BUILD_WIN   := build-win
BUILD_ASAN  := build-asan
BUILD_TSAN  := build-tsan
FUZZ_SECONDS ?= 20

.PHONY: all deps build build-win build-asan build-tsan test test-linux test-win test-asan test-tsan \
        fuzz-short fuzz test-dist bench demo install uninstall dist screenshot clean

all: build

deps:
	@scripts/deps

build: deps
	@scripts/linux-deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

build-win: deps
	@scripts/windows-deps
	@cmake -S . -B $(BUILD_WIN) -G Ninja -DCMAKE_BUILD_TYPE=Release -DVOLTREX_BENCH=OFF \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake >/dev/null
	@cmake --build $(BUILD_WIN) -j $(JOBS)

test-linux: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS) -LE dist

# The release archives built from both builds, unpacked and loaded as hosts load them.
test-dist: build build-win
	@cd $(BUILD) && ctest --output-on-failure -L dist

test-win: build-win
	@cd $(BUILD_WIN) && ctest --output-on-failure

# One clang build with AddressSanitizer and UBSan serves both the sanitized test run and
# the libFuzzer targets.
build-asan: deps
	@scripts/linux-deps
	@CC=clang CXX=clang++ cmake -S . -B $(BUILD_ASAN) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DVOLTREX_SANITIZE=ON -DVOLTREX_FUZZ=ON -DVOLTREX_BENCH=OFF >/dev/null
	@cmake --build $(BUILD_ASAN) -j $(JOBS)

test-asan: build-asan
	@cd $(BUILD_ASAN) && ctest --output-on-failure -j $(JOBS)

# ThreadSanitizer needs a build of its own. Every CTest test of the Linux build runs under
# it, the stress host's included; the race reports fail the run (halt_on_error).
build-tsan: deps
	@CC=clang CXX=clang++ cmake -S . -B $(BUILD_TSAN) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DVOLTREX_TSAN=ON -DVOLTREX_BENCH=OFF >/dev/null
	@cmake --build $(BUILD_TSAN) -j $(JOBS)

test-tsan: build-tsan
	@cd $(BUILD_TSAN) && TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 $(TSAN_OPTIONS)" \
	  ctest --output-on-failure -j $(JOBS)

# A short run of every fuzz target; `make fuzz` runs them for ten minutes each.
fuzz-short: build-asan
	@scripts/run-fuzzers $(BUILD_ASAN) $(FUZZ_SECONDS)

fuzz: FUZZ_SECONDS = 600
fuzz: fuzz-short

test: test-linux test-win test-dist test-asan test-tsan fuzz-short

bench: build
	@scripts/run-benchmarks $(BUILD)

demo: build
	@scripts/demo $(BUILD)

install: build
	@PREFIX="$(PREFIX)" scripts/install install $(BUILD)

uninstall:
	@PREFIX="$(PREFIX)" scripts/install uninstall $(BUILD)

dist: build build-win
	@scripts/dist $(BUILD) $(BUILD_WIN) $(BUILD)/dist

# The README's picture: the editor as the build renders it, showing one pedal.
screenshot: build
	@cd $(BUILD) && tests/editor/editor_layout_test --gtest_brief=1 \
	  --gtest_filter=EditorScreens.EveryPedalShowsItsOwnPanel >/dev/null
	@mkdir -p docs && cp $(BUILD)/screens/pedal-09.png docs/editor.png

clean:
	rm -rf $(BUILD) $(BUILD_WIN) $(BUILD_ASAN) $(BUILD_TSAN)
