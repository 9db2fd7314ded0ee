# Quorvane: `make run` starts the viewer, `make test` runs every test.
# Both install what is missing first (scripts/install-deps), then build with CMake and Ninja.

JOBS      ?= $(shell nproc)
BUILD     := build
RELEASE   := $(BUILD)/release
SANITIZED := $(BUILD)/sanitized
WINDOWS   := $(BUILD)/windows
FUZZ      := $(BUILD)/fuzz
RUN_DIR   := $(BUILD)/run

CMAKE_CONFIGURE = cmake -S . -G Ninja -Wno-dev
SHELL := /bin/bash
.SHELLFLAGS := -o pipefail -c

.PHONY: all deps build build-sanitized data run test test-release test-sanitized check-windows check-format check-layers format fuzz bench clean

all: build

deps:
	@scripts/install-deps

$(RELEASE)/build.ninja:
	$(CMAKE_CONFIGURE) -B $(RELEASE) -DCMAKE_BUILD_TYPE=RelWithDebInfo

$(SANITIZED)/build.ninja:
	$(CMAKE_CONFIGURE) -B $(SANITIZED) -DCMAKE_BUILD_TYPE=Debug -DQUORVANE_SANITIZE=ON

$(WINDOWS)/build.ninja:
	$(CMAKE_CONFIGURE) -B $(WINDOWS) -DCMAKE_BUILD_TYPE=Release \
		-DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64.cmake

build: deps $(RELEASE)/build.ninja
	cmake --build $(RELEASE) -j $(JOBS)

build-sanitized: deps $(SANITIZED)/build.ninja
	cmake --build $(SANITIZED) -j $(JOBS)

# The viewer runs in build/run, where Quorvane.ini is kept and Data/ is prepared.
data: build
	@mkdir -p $(RUN_DIR)
	cmake -E copy_directory $(RELEASE)/Data $(RUN_DIR)/Data

run: data
	cd $(RUN_DIR) && $(CURDIR)/$(RELEASE)/quorvane

test-release: build
	ctest --test-dir $(RELEASE) --output-on-failure -j $(JOBS) 2>&1 | tee $(RELEASE)/ctest.log

test-sanitized: build-sanitized
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
		ctest --test-dir $(SANITIZED) --output-on-failure -j $(JOBS) 2>&1 | tee $(SANITIZED)/ctest.log

$(FUZZ)/build.ninja:
	CC=clang CXX=clang++ $(CMAKE_CONFIGURE) -B $(FUZZ) -DCMAKE_BUILD_TYPE=Debug -DQUORVANE_FUZZ=ON

# Builds the fuzzers; run one with e.g. build/fuzz/fuzz/xfile_fuzz -max_total_time=300 CORPUS_DIR
fuzz: deps $(FUZZ)/build.ninja
	cmake --build $(FUZZ) -j $(JOBS)

# The cross build, then its one test: quorvane.exe run under Wine in Xvfb (tests/windows).
check-windows: deps $(WINDOWS)/build.ninja
	cmake --build $(WINDOWS) -j $(JOBS)
	@echo "check-windows: $(WINDOWS)/quorvane.exe linked against the Windows SDK"
	ctest --test-dir $(WINDOWS) --output-on-failure 2>&1 | tee $(WINDOWS)/ctest.log

# Applies .clang-format to every C++ file of the tree; check-format (part of make test) fails
# on any file that differs from it.
format:
	git ls-files -co --exclude-standard '*.cpp' '*.h' | xargs clang-format -i

check-format: deps
	@scripts/check-format

# Fails on an #include that crosses a layer the wrong way (docs/architecture.md).
check-layers: deps
	@scripts/check-layers

test: check-format check-layers test-release test-sanitized check-windows
	@scripts/test-summary $(RELEASE)/ctest.log $(SANITIZED)/ctest.log $(WINDOWS)/ctest.log

bench: build
	@for b in $(RELEASE)/bench/*/bench_*; do [ -x "$$b" ] && "$$b"; done

clean:
	rm -rf $(BUILD)
