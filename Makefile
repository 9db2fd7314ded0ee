# Quorvane: `make run` starts the viewer, `make test` runs every test.
# Both install what is missing first (scripts/install-deps), then build with CMake and Ninja.
# `make install` (PREFIX, DESTDIR) and `make package` install and package the Linux build;
# `make dist-windows` makes the Windows download; `make web` builds the browser form into build/web,
# `make serve-web` serves it on 127.0.0.1 and `make dist-web` packs it for any static host.

JOBS      ?= $(shell nproc)
BUILD     := build
RELEASE   := $(BUILD)/release
SANITIZED := $(BUILD)/sanitized
WINDOWS   := $(BUILD)/windows
FUZZ      := $(BUILD)/fuzz
WEB_CMAKE := $(BUILD)/web-cmake
WEB       := $(BUILD)/web
WEB_PORT  ?= 8000
RUN_DIR   := $(BUILD)/run
PACKAGE   := $(BUILD)/package
DIST      := $(BUILD)/dist
PREFIX    ?= /usr/local
# scripts/install-deps runs once, and again whenever it changes (a package was added to it):
# the stamp says when it last ran. `make deps` runs it whatever the stamp says.
DEPS_STAMP := $(BUILD)/deps.stamp

CMAKE_CONFIGURE = cmake -S . -G Ninja -Wno-dev
SHELL := /bin/bash
.SHELLFLAGS := -o pipefail -c

.PHONY: web serve-web dist-web check-web
.PHONY: all deps build build-sanitized data run install package dist-windows test test-release test-sanitized \
	check-windows check-format check-layers format fuzz check-fuzz bench clean

all: build

deps:
	@scripts/install-deps
	@mkdir -p $(BUILD) && touch $(DEPS_STAMP)

$(DEPS_STAMP): scripts/install-deps
	@scripts/install-deps
	@mkdir -p $(BUILD) && touch $@

$(RELEASE)/build.ninja:
	$(CMAKE_CONFIGURE) -B $(RELEASE) -DCMAKE_BUILD_TYPE=RelWithDebInfo

$(SANITIZED)/build.ninja:
	$(CMAKE_CONFIGURE) -B $(SANITIZED) -DCMAKE_BUILD_TYPE=Debug -DQUORVANE_SANITIZE=ON

$(WINDOWS)/build.ninja:
	$(CMAKE_CONFIGURE) -B $(WINDOWS) -DCMAKE_BUILD_TYPE=Release \
		-DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64.cmake -DQUORVANE_DIST_DIR=$(CURDIR)/$(DIST) \
		-DQUORVANE_HOST_BUILD_DIR=$(CURDIR)/$(RELEASE)

# The browser build, with Debian's Emscripten (its settings are all in cmake/web.cmake); the
# compiler runs through ccache when there is one.
EMSCRIPTEN_CMAKE := /usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake
CCACHE := $(shell command -v ccache)
$(WEB_CMAKE)/build.ninja:
	$(if $(CCACHE),CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache) \
	$(CMAKE_CONFIGURE) -B $(WEB_CMAKE) -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=$(EMSCRIPTEN_CMAKE) \
		"-DCMAKE_CROSSCOMPILING_EMULATOR=node;--no-experimental-fetch" -DQUORVANE_WEB_DIR=$(CURDIR)/$(WEB)

web: $(DEPS_STAMP) $(WEB_CMAKE)/build.ninja
	cmake --build $(WEB_CMAKE) -j $(JOBS)

serve-web: web
	@echo "Quorvane in the browser: http://127.0.0.1:$(WEB_PORT)/ (Ctrl+C ends the server)"
	cd $(WEB) && python3 -m http.server $(WEB_PORT) --bind 127.0.0.1

# The browser form's tests: its page served on 127.0.0.1 in headless Chromium (tests/web), its
# pictures compared with the Linux release build's snapshot tool.
check-web: web $(RELEASE)/build.ninja
	cmake --build $(RELEASE) -j $(JOBS) --target quorvane-snapshot quorvane-window-picture
	ctest --test-dir $(WEB_CMAKE) --output-on-failure 2>&1 | tee $(WEB_CMAKE)/ctest.log

# build/dist/quorvane-<version>-web.zip: build/web with the licences (cmake/web_dist.cmake).
dist-web: $(DEPS_STAMP) $(WEB_CMAKE)/build.ninja
	cmake --build $(WEB_CMAKE) -j $(JOBS) --target quorvane_dist_web

build: $(DEPS_STAMP) $(RELEASE)/build.ninja
	cmake --build $(RELEASE) -j $(JOBS)

build-sanitized: $(DEPS_STAMP) $(SANITIZED)/build.ninja
	cmake --build $(SANITIZED) -j $(JOBS)

# The viewer runs in build/run, where Quorvane.ini is kept and Data/ is prepared.
data: build
	@mkdir -p $(RUN_DIR)
	cmake -E copy_directory $(RELEASE)/Data $(RUN_DIR)/Data

run: data
	cd $(RUN_DIR) && $(CURDIR)/$(RELEASE)/quorvane

# Installs under PREFIX (default /usr/local), below DESTDIR when it is set (staging, packaging).
install: build
	DESTDIR="$(DESTDIR)" cmake --install $(RELEASE) --prefix "$(PREFIX)"

# The Debian package, build/package/quorvane_<version>_amd64.deb (cmake/package.cmake).
package: build
	cpack --config $(RELEASE)/CPackConfig.cmake -B $(CURDIR)/$(PACKAGE)

# The Windows download, build/dist/quorvane-<version>-windows-x86_64.zip, and its installer,
# quorvane-<version>-windows-x86_64-setup.exe (cmake/windows.cmake).
dist-windows: $(DEPS_STAMP) $(WINDOWS)/build.ninja
	cmake --build $(WINDOWS) -j $(JOBS) --target quorvane_dist

test-release: build
	ctest --test-dir $(RELEASE) --output-on-failure -j $(JOBS) 2>&1 | tee $(RELEASE)/ctest.log

# The sanitizers' settings live in scripts/sanitizer-env, which runs a command with them.
test-sanitized: build-sanitized
	scripts/sanitizer-env ctest --test-dir $(SANITIZED) --output-on-failure -j $(JOBS) 2>&1 | tee $(SANITIZED)/ctest.log

$(FUZZ)/build.ninja:
	CC=clang CXX=clang++ $(CMAKE_CONFIGURE) -B $(FUZZ) -DCMAKE_BUILD_TYPE=Debug -DQUORVANE_FUZZ=ON

# Builds the fuzzers; docs/testing.md says how to run one on its kept inputs.
fuzz: $(DEPS_STAMP) $(FUZZ)/build.ninja
	cmake --build $(FUZZ) -j $(JOBS)

# The fuzz targets alone, built with clang (part of make test, so that they cannot break unseen);
# their kept inputs are replayed by the ordinary tests.
check-fuzz: $(DEPS_STAMP) $(FUZZ)/build.ninja
	cmake --build $(FUZZ) -j $(JOBS) --target quorvane_fuzz_targets

# The cross build and its download, then their tests: the DLLs quorvane.exe imports, and the
# download unpacked into a fresh folder and run from there under Wine in Xvfb (tests/windows),
# its picture compared with the Linux build's through two host tools of the release build.
check-windows: dist-windows $(RELEASE)/build.ninja
	cmake --build $(WINDOWS) -j $(JOBS)
	cmake --build $(RELEASE) -j $(JOBS) --target quorvane-snapshot quorvane-window-picture
	@echo "check-windows: $(WINDOWS)/quorvane.exe linked against the Windows SDK"
	ctest --test-dir $(WINDOWS) --output-on-failure 2>&1 | tee $(WINDOWS)/ctest.log

# Applies .clang-format to every C++ file of the tree; check-format (part of make test) fails
# on any file that differs from it.
format:
	git ls-files -co --exclude-standard '*.cpp' '*.h' | xargs clang-format -i

check-format: $(DEPS_STAMP)
	@scripts/check-format

# Fails on an #include that crosses a layer the wrong way (docs/architecture.md).
check-layers: $(DEPS_STAMP)
	@scripts/check-layers

test: check-format check-layers test-release test-sanitized check-windows check-web check-fuzz
	@scripts/test-summary $(RELEASE)/ctest.log $(SANITIZED)/ctest.log $(WINDOWS)/ctest.log $(WEB_CMAKE)/ctest.log

# Runs every benchmark, also after one has failed, and fails when any did.
bench: build
	@failed=; for b in $(RELEASE)/bench/*/bench_*; do \
		[ -x "$$b" ] || continue; "$$b" || failed="$$failed $${b##*/}"; \
	done; [ -z "$$failed" ] || { echo "bench: failed:$$failed" >&2; exit 1; }

clean:
	rm -rf $(BUILD)
