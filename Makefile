# The commands: `make run` builds and starts Tagwright, `make test` builds every configuration
# the tests run in and runs all suites, `make bench` builds and runs the benchmarks.

JOBS      ?= $(shell nproc)
BUILD     := build
CONFIGS   := release debug asan
CMAKE_GEN := -G Ninja

.PHONY: all run test bench deps bench-deps configure build test-release test-debug test-asan clean format
.PHONY: fuzz fuzz-build test-fuzz test-windows

all: build

deps:
	@scripts/install-deps.sh

# build/ is the release tree whose binaries land in build/bin; the other
# configurations live beside it under build/<config>.
$(BUILD)/build.ninja: CMakeLists.txt | deps
	cmake $(CMAKE_GEN) -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DTW_WERROR=ON

$(BUILD)/debug/build.ninja: CMakeLists.txt | deps
	cmake $(CMAKE_GEN) -S . -B $(BUILD)/debug -DCMAKE_BUILD_TYPE=Debug -DTW_WERROR=ON

$(BUILD)/asan/build.ninja: CMakeLists.txt | deps
	cmake $(CMAKE_GEN) -S . -B $(BUILD)/asan -DCMAKE_BUILD_TYPE=Debug -DTW_SANITIZE=ON -DTW_WERROR=ON

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@scripts/run.sh $(BUILD)/bin

# The debug tree is left out: the sanitizer tree is a debug build as well and runs every suite.
test: deps test-release test-asan test-fuzz test-windows
	@echo "All configurations passed."

test-release: $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)
	cd $(BUILD) && ctest -j $(JOBS) --output-on-failure

test-debug: $(BUILD)/debug/build.ninja
	cmake --build $(BUILD)/debug -j $(JOBS)
	cd $(BUILD)/debug && ctest -j $(JOBS) --output-on-failure

test-asan: $(BUILD)/asan/build.ninja
	cmake --build $(BUILD)/asan -j $(JOBS)
	cd $(BUILD)/asan && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
		UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
		ctest -j $(JOBS) --output-on-failure

# The Windows build under build/win: the core, its suites and Menuhook.dll, cross-compiled with
# mingw-w64 and run under Wine (a prefix inside the tree), in a virtual display for the message
# boxes.
$(BUILD)/win/build.ninja: CMakeLists.txt | deps
	cmake $(CMAKE_GEN) -S . -B $(BUILD)/win -DCMAKE_TOOLCHAIN_FILE=cmake/MingwToolchain.cmake \
		-DCMAKE_BUILD_TYPE=Release -DTW_WERROR=ON

test-windows: $(BUILD)/win/build.ninja
	cmake --build $(BUILD)/win -j $(JOBS)
	cd $(BUILD)/win && xvfb-run -a -n 73 ctest -j $(JOBS) --output-on-failure

# The fuzz targets: a clang tree of their own under build/fuzz. `make fuzz` runs every target for
# FUZZ_SECONDS in all and keeps what they find in build/fuzz/corpus; `make test` runs each briefly.
FUZZ_SECONDS ?= 300

$(BUILD)/fuzz/build.ninja: fuzz/CMakeLists.txt | deps
	cmake $(CMAKE_GEN) -S fuzz -B $(BUILD)/fuzz -DCMAKE_CXX_COMPILER=clang++

fuzz-build: deps $(BUILD)/fuzz/build.ninja
	cmake --build $(BUILD)/fuzz -j $(JOBS)

fuzz: fuzz-build
	fuzz/run.sh $(BUILD)/fuzz $(FUZZ_SECONDS)

test-fuzz: fuzz-build
	fuzz/run.sh --smoke $(BUILD)/fuzz

# The benchmarks: a release tree of their own under build/bench, with TagLib as the reference.
bench-deps:
	@scripts/install-bench-deps.sh

$(BUILD)/bench/build.ninja: CMakeLists.txt | deps bench-deps
	cmake $(CMAKE_GEN) -S . -B $(BUILD)/bench -DCMAKE_BUILD_TYPE=Release -DTW_WERROR=ON \
		-DTW_BUILD_BENCH=ON -DTW_BUILD_TESTS=OFF

bench: deps bench-deps $(BUILD)/bench/build.ninja
	cmake --build $(BUILD)/bench -j $(JOBS) --target record_bench window_bench multi_bench
	$(BUILD)/bench/bin/record_bench
	$(BUILD)/bench/bin/window_bench
	$(BUILD)/bench/bin/multi_bench

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD)
