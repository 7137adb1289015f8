# The two set-up commands: `make run` and `make test`. Everything else is a
# convenience over CMake with Ninja.
BUILD ?= build
ASAN_BUILD ?= build-asan
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

bench: build
	$(BUILD)/words_bench

install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

format:
	clang-format -i $$(git ls-files '*.cc' '*.h')

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
