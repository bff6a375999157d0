# Two entry points for a fresh Debian machine: `make demo` and `make test`.
# Both install what is missing, configure, build and run.

BUILD_DIR      ?= build
TEST_BUILD_DIR ?= build-test
BENCH_BUILD_DIR ?= build-bench
FUZZ_BUILD_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60
JOBS ?= $(shell nproc)

.PHONY: all deps demo test bench fuzz format clean

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

# The converter's fuzz target (clang, libFuzzer, ASan and UBSan) for a
# bounded time: it starts from the saved corpus in fuzz/corpus/convert and
# keeps what it finds in the build folder (copy an input that crashed into
# the saved corpus once it is fixed, so that `make test` replays it).
fuzz:
	@scripts/install-deps.sh fuzz
	cmake -S fuzz -B $(FUZZ_BUILD_DIR) -G Ninja -DCMAKE_CXX_COMPILER=clang++
	cmake --build $(FUZZ_BUILD_DIR) -j $(JOBS)
	mkdir -p $(FUZZ_BUILD_DIR)/corpus
	$(FUZZ_BUILD_DIR)/quillon_fuzz_convert -max_total_time=$(FUZZ_SECONDS) -max_len=65536 \
		-artifact_prefix=$(FUZZ_BUILD_DIR)/ $(FUZZ_BUILD_DIR)/corpus fuzz/corpus/convert

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD_DIR) $(TEST_BUILD_DIR) $(BENCH_BUILD_DIR) $(FUZZ_BUILD_DIR)
