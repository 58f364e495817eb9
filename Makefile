# SPDX-License-Identifier: MIT
# Entry points for people and CI. Everything runs through CMake + Ninja in build/ (and build-asan/).
BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= 2
CMAKE_ARGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

export QT_QPA_PLATFORM ?= offscreen

.PHONY: all deps configure build demo test bench asan fuzz package mutants clean screenshots abi-check docs

all: build

deps:
	@tools/install-deps.sh

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_ARGS)

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

demo: build
	tools/demo.sh $(BUILD) $(DEMO)

test: build
	cd $(BUILD) && ctest -j $(JOBS) --output-on-failure

screenshots: build
	tools/screenshots.sh $(BUILD) docs/screenshots

bench: build
	tools/run-benchmarks.sh $(BUILD)

$(ASAN_BUILD)/build.ninja: | deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVXRECINFO_SANITIZE=ON

asan: deps $(ASAN_BUILD)/build.ninja
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest -j $(JOBS) --output-on-failure

# The Debian packages (debian/, dpkg-buildpackage on a copy of the tree), into $(BUILD)/.
package: deps
	JOBS=$(JOBS) tools/make-packages.sh $(BUILD)

# The API reference of the installed headers (doxygen), in $(BUILD)/docs/html; a warning fails it.
docs: configure
	cmake --build $(BUILD) --target docs

# The library's ABI against the previous build's (additions allowed); the first run records it.
abi-check: build
	tools/abi-check.sh $(BUILD)

# libFuzzer targets (clang), each run FUZZ_SECONDS (default 60); not part of CI.
FUZZ_BUILD ?= build-fuzz
fuzz: deps
	tools/run-fuzzers.sh $(FUZZ_BUILD)

# Mutation testing on a private copy of the tree (build-mutants/); MUTANTS_ARGS as
# "--sample 100 --seed 7 --folders RecInfo/report" (tools/mutants.py --help). Not part of CI.
mutants: deps
	tools/mutants.py $(MUTANTS_ARGS)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) build-mutants
