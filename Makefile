# make run   installs what is missing, builds and starts the program
# make test  installs what is missing, builds and runs every test
# make package  builds the Debian package of the Release build (in build-package)
# Warnings are errors in the builds that make test checks, never in the builds a user runs or packs.
BUILD      ?= build
RUN_BUILD  ?= build-run
RELEASE_BUILD ?= build-release
PACKAGE_BUILD ?= build-package
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
JOBS       ?= $(shell nproc)
FUZZ_SECONDS ?= 60

.PHONY: all deps build run test test-unit test-asan test-fuzz test-install test-package package bench clean

all: build

deps:
	@scripts/install-deps

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLADOTON_WERROR=ON

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

$(RUN_BUILD)/build.ninja: | deps
	cmake -S . -B $(RUN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

run: deps $(RUN_BUILD)/build.ninja
	cmake --build $(RUN_BUILD) -j $(JOBS) --target ladoton
	./$(RUN_BUILD)/ladoton

test: test-unit test-asan test-fuzz test-install test-package

# The end-to-end tests drive real X and JACK servers on a shared machine, where a scheduling
# stall can throw a JACK client out: a test that fails is run once more before it counts.
test-unit: build
	cd $(BUILD) && ctest --output-on-failure -j 1 --repeat until-pass:2

$(ASAN_BUILD)/build.ninja: | deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DLADOTON_SANITIZE=ON -DLADOTON_WERROR=ON

test-asan: deps $(ASAN_BUILD)/build.ninja
	cmake --build $(ASAN_BUILD) -j $(JOBS) --target ladoton_core_tests ladoton_gui_tests
	cd $(ASAN_BUILD) && ctest --output-on-failure -j 1

$(FUZZ_BUILD)/build.ninja: | deps
	CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLADOTON_FUZZ_ONLY=ON -DLADOTON_WERROR=ON

test-fuzz: deps $(FUZZ_BUILD)/build.ninja
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	scripts/run-fuzzers $(FUZZ_BUILD) $(FUZZ_SECONDS)

# The README's Release build, warnings made errors, installed into a scratch folder and checked.
$(RELEASE_BUILD)/build.ninja: | deps
	cmake -S . -B $(RELEASE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DLADOTON_WERROR=ON

test-install: deps $(RELEASE_BUILD)/build.ninja
	cmake --build $(RELEASE_BUILD) -j $(JOBS) --target ladoton
	scripts/check-install $(RELEASE_BUILD)

# That Release build packed as a Debian package and checked as a distribution would: lintian,
# the AppStream metainfo, the manual page (scripts/check-package).
test-package: test-install
	scripts/check-package $(RELEASE_BUILD)

# cpack packs the program's own files; the tests need not be built for it.
$(PACKAGE_BUILD)/build.ninja: | deps
	cmake -S . -B $(PACKAGE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release

package: deps $(PACKAGE_BUILD)/build.ninja
	cmake --build $(PACKAGE_BUILD) -j $(JOBS) --target ladoton
	cd $(PACKAGE_BUILD) && cpack

bench: build
	./$(BUILD)/tests/bench/ladoton_bench

clean:
	rm -rf $(BUILD) $(RUN_BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(RELEASE_BUILD) $(PACKAGE_BUILD)
