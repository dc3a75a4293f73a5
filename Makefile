# The two commands of the README:
#   make test   installs what is missing, builds everything and runs every test
#   make demo   the same set-up, then runs the installer under Wine
# BUILD names the build root (several engineers may each keep their own).
BUILD ?= build
JOBS ?= 2
ROOT := $(abspath $(BUILD))
DEPS := -DTARVEL_DEPS_SRC=$(ROOT)/deps/src
GEN := -G Ninja

.PHONY: all setup win native fuzz-build release test demo fuzz bench clean

all: win

setup:
	@TARVEL_DEPS_CACHE=$(ROOT)/deps tools/setup/setup.sh

win: setup
	cmake -S . -B $(ROOT)/win $(GEN) $(DEPS) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
	  -DCMAKE_BUILD_TYPE=Release -DTARVEL_ENDPOINTS=local >/dev/null
	cmake --build $(ROOT)/win -j $(JOBS)

native: setup
	cmake -S . -B $(ROOT)/native $(GEN) $(DEPS) -DCMAKE_BUILD_TYPE=Debug \
	  -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" >/dev/null
	cmake --build $(ROOT)/native -j $(JOBS)

fuzz-build: setup
	cmake -S . -B $(ROOT)/fuzz $(GEN) $(DEPS) -DTARVEL_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
	cmake --build $(ROOT)/fuzz -j $(JOBS)

# The production build: compiled and stripped, never run on this machine.
release: setup
	cmake -S . -B $(ROOT)/release $(GEN) $(DEPS) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
	  -DCMAKE_BUILD_TYPE=MinSizeRel -DTARVEL_ENDPOINTS=production -DTARVEL_TESTS=OFF \
	  -DCMAKE_EXE_LINKER_FLAGS=-s >/dev/null
	cmake --build $(ROOT)/release -j $(JOBS) --target installer

test: native win fuzz-build release
	JOBS=$(JOBS) tools/test/run-tests.sh $(ROOT)

demo: win
	JOBS=$(JOBS) tools/demo/run-demo.sh $(ROOT)

# Longer fuzzing, outside the test run: FUZZ_SECONDS per target.
fuzz: fuzz-build
	tools/test/fuzz.sh $(ROOT)/fuzz $${FUZZ_SECONDS:-600}

# Benchmarks that print figures against native and Wine peers, outside the test run.
bench: win
	tools/bench/md5_bench.sh $(ROOT)
	python3 tools/bench/download_bench.py $(ROOT)

clean:
	rm -rf $(ROOT)/win $(ROOT)/native $(ROOT)/fuzz $(ROOT)/release
