# Two entry points for a fresh Debian machine: `make demo` and `make test`.
# Both install what is missing, configure, build and run.

BUILD_DIR      ?= build
TEST_BUILD_DIR ?= build-test
BENCH_BUILD_DIR ?= build-bench
FUZZ_BUILD_DIR ?= build-fuzz
PACKAGE_BUILD_DIR ?= build-package
FUZZ_SECONDS ?= 120
JOBS ?= $(shell nproc)

.PHONY: all deps demo test bench fuzz package format clean

all: demo

deps:
	@scripts/install-deps.sh

$(BUILD_DIR)/build.ninja:
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUILLON_TESTS=OFF

demo: deps $(BUILD_DIR)/build.ninja
	cmake --build $(BUILD_DIR) --target quillon-batch quillon -j $(JOBS)
	@scripts/demo.sh $(BUILD_DIR)

test: deps
	cmake -S . -B $(TEST_BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUILLON_SANITIZE=ON
	cmake --build $(TEST_BUILD_DIR) -j $(JOBS)
	ctest --test-dir $(TEST_BUILD_DIR) --output-on-failure -j $(JOBS)

bench: deps
	cmake -S . -B $(BENCH_BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUILLON_TESTS=OFF -DQUILLON_BENCH=ON
	cmake --build $(BENCH_BUILD_DIR) -j $(JOBS)
	@for b in $(BENCH_BUILD_DIR)/bench/quillon_*bench; do echo "== $$b"; $$b || exit 1; done

# Every reader's fuzz target (clang, libFuzzer, ASan and UBSan), each for
# FUZZ_SECONDS, starting from its saved corpus in tests/fuzz/corpus/; what
# they found is merged back into that corpus and inputs that crashed are
# saved in tests/fuzz/crashes/, so that `make test` replays both.
fuzz:
	@scripts/install-deps.sh fuzz
	cmake -S tests/fuzz -B $(FUZZ_BUILD_DIR) -G Ninja -DCMAKE_CXX_COMPILER=clang++
	cmake --build $(FUZZ_BUILD_DIR) -j $(JOBS)
	scripts/fuzz.sh $(FUZZ_BUILD_DIR) $(FUZZ_SECONDS)

# The Debian package quillon_<version>_amd64.deb of a release build of its
# own: both programs, the desktop entry, the icon, the bash completion and
# the manual pages; it says where the package is and how big.
package: deps
	@scripts/package.sh $(PACKAGE_BUILD_DIR) $(JOBS)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD_DIR) $(TEST_BUILD_DIR) $(BENCH_BUILD_DIR) $(FUZZ_BUILD_DIR) $(PACKAGE_BUILD_DIR)
