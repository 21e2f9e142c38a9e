# Two commands for a fresh Debian machine:
#   make run   - install what is missing, build, start the desktop app
#   make test  - install what is missing, build, run every test (plain, under ASan+UBSan, fuzz)
# and one for installing:
#   make package - the Debian package build/package/qxprog_VERSION_ARCH.deb

PACKAGES := cmake ninja-build g++ libgtest-dev libgmock-dev libbenchmark-dev qt6-base-dev \
            qt6-serialport-dev libgl-dev locales clang libclang-rt-dev \
            dpkg-dev file librsvg2-bin desktop-file-utils appstream shared-mime-info lintian \
            poppler-utils
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
# Without a USB serial adapter the app starts on the built-in simulated radio,
# so Read and Write work out of the box; RUN_ARGS="--port /dev/ttyS0" overrides it.
RUN_ARGS ?= $(if $(wildcard /dev/ttyUSB* /dev/ttyACM*),,--port sim)

.PHONY: run test deps build build-asan fuzz bench package clean

deps:
	@missing=""; for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  if [ "$$(id -u)" = 0 ] || command -v sudo >/dev/null 2>&1; then \
	    echo "Installing:$$missing"; \
	    $(SUDO) apt-get update -q && DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -q $$missing; \
	  else \
	    echo "Missing Debian packages:$$missing (run as root or install them)"; exit 1; \
	  fi; \
	fi
	@# The tests prove number texts ignore a comma-decimal locale, so that locale must exist.
	@if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$$'; then \
	  if [ "$$(id -u)" = 0 ] || command -v sudo >/dev/null 2>&1; then \
	    $(SUDO) localedef -i de_DE -f UTF-8 de_DE.UTF-8 || echo "Could not generate de_DE.UTF-8"; \
	  fi; \
	fi

build: deps
	cmake --preset dev
	cmake --build --preset dev

build-asan: deps
	cmake --preset asan
	cmake --build --preset asan

run: build
	./build/dev/gui/qxprog $(RUN_ARGS)

test: build
	ctest --preset dev
	$(MAKE) --no-print-directory build-asan
	ctest --preset asan
	$(MAKE) --no-print-directory fuzz

# A short run of every fuzz target (clang's libFuzzer); skipped without clang.
fuzz: deps
	@if command -v clang++ >/dev/null 2>&1; then \
	  cmake --preset fuzz && cmake --build --preset fuzz && ctest --preset fuzz; \
	else echo "clang++ not found: fuzz targets skipped"; fi

bench: deps
	cmake --preset release
	cmake --build --preset release
	@for b in build/release/bench/qx_bench_*; do [ -x "$$b" ] && "$$b"; done; true
	@bench/compare_with_base.sh

# An optimised, hardened build of what the package installs; cpack only packs.
package: deps
	cmake --preset package
	cmake --build --preset package
	cd build/package && cpack

clean:
	rm -rf build
