# The two set-up commands: `make run` and `make test`. Everything else is a
# convenience over CMake with Ninja.
BUILD ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
PREFIX ?= /usr/local
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS ?=

.PHONY: all configure build run run-freq test test-asan bench fuzz install format clean

all: build

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS)

configure: $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# Builds, then starts kavinta23 beside the sample transcription; type `ornek`.
run: build
	cd examples && ../$(BUILD)/kavinta23

run-freq: build
	cd examples && ../$(BUILD)/kavinta20a

# Builds, then runs every test (unit tests and the end-to-end terminal runs).
test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The unit tests again under AddressSanitizer and UndefinedBehaviorSanitizer.
test-asan:
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKAVINTA_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --output-on-failure -j $(JOBS)

# The libFuzzer targets, built with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer, each run for FUZZ_SECONDS on its seeds in
# fuzz/corpus/; what they add to the corpus stays in $(FUZZ_BUILD)/corpus/,
# an input that breaks a property goes to $(FUZZ_BUILD)/artifacts/.
FUZZ_TARGETS = fuzz_index fuzz_freq fuzz_sort fuzz_keys fuzz_codec
fuzz:
	CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DKAVINTA_FUZZ=ON -DKAVINTA_TESTS=OFF
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target $(FUZZ_TARGETS)
	@set -e; for t in $(FUZZ_TARGETS); do \
	  case $$t in fuzz_codec) len=300;; fuzz_keys) len=4096;; *) len=16384;; esac; \
	  mkdir -p $(FUZZ_BUILD)/corpus/$$t $(FUZZ_BUILD)/artifacts; \
	  echo "== $$t, $(FUZZ_SECONDS) s (log: $(FUZZ_BUILD)/$$t.log)"; \
	  $(FUZZ_BUILD)/fuzz/$$t -max_total_time=$(FUZZ_SECONDS) -max_len=$$len \
	    -print_final_stats=1 -artifact_prefix=$(FUZZ_BUILD)/artifacts/$$t- \
	    $(FUZZ_BUILD)/corpus/$$t fuzz/corpus/$$t > $(FUZZ_BUILD)/$$t.log 2>&1 || \
	    { tail -n 60 $(FUZZ_BUILD)/$$t.log; exit 1; }; \
	  grep -E '^Done|^stat::(number_of_executed_units|new_units_added)' $(FUZZ_BUILD)/$$t.log; \
	done

# Speed and memory of the words layer and of both programs' phases.
bench: build
	$(BUILD)/words_bench
	$(BUILD)/index_bench
	$(BUILD)/freq_bench

install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

format:
	clang-format -i $$(git ls-files '*.cc' '*.h')

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
