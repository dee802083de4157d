# Two commands for a newcomer on a fresh Debian machine:
#   make run    install what is missing, build Release into build/, start Sysvane
#   make test   install what is missing, build, run every test (the end-to-end ones too)
BUILD_DIR ?= build
BUILD_TYPE ?= Release
# The machines have two cores.
JOBS ?= 2

.PHONY: all setup build run test bench package

all: build

setup:
	@scripts/setup.sh

build: setup
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)
	cmake --build $(BUILD_DIR) -j$(JOBS)

run: build
	@scripts/run.sh $(BUILD_DIR)

test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j$(JOBS)

bench: build
	@scripts/bench.sh $(BUILD_DIR)

# Sysvane side by side with conky, gkrellm and the Qt floor (about 8 minutes; see bench/compare.sh).
.PHONY: compare
compare: build
	bench/compare.sh --build $(BUILD_DIR) --no-build

# The Debian package, built from the Release build: $(BUILD_DIR)/sysvane_2.0_<arch>.deb
package: build
	cmake --build $(BUILD_DIR) --target package
