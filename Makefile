# make run   installs what is missing, builds and starts the program
# make test  installs what is missing, builds and runs every test
# make package  builds the Debian package of the Release build (in build-release)
BUILD      ?= build
RELEASE_BUILD ?= build-release
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
JOBS       ?= $(shell nproc)
FUZZ_SECONDS ?= 60

.PHONY: all deps build run test test-unit test-asan test-fuzz test-install package bench clean

all: build

deps:
	@scripts/install-deps

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLADOTON_WERROR=ON

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/ladoton

test: test-unit test-asan test-fuzz test-install

test-unit: build
	cd $(BUILD) && ctest --output-on-failure -j 1

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

# cpack packs the program's own files; the tests need not be built for it.
package: deps $(RELEASE_BUILD)/build.ninja
	cmake --build $(RELEASE_BUILD) -j $(JOBS) --target ladoton
	cd $(RELEASE_BUILD) && cpack

bench: build
	./$(BUILD)/tests/bench/ladoton_bench

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(RELEASE_BUILD)
