# Two entry points for a fresh Debian machine: `make demo` and `make test`.
# Both install what is missing, configure, build and run.

BUILD_DIR      ?= build
TEST_BUILD_DIR ?= build-test
BENCH_BUILD_DIR ?= build-bench
JOBS ?= $(shell nproc)

.PHONY: all deps demo test bench format clean

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

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD_DIR) $(TEST_BUILD_DIR) $(BENCH_BUILD_DIR)
