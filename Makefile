# Two commands for a newcomer on a fresh Debian machine:
#   make run    install what is missing, build Release into build/, start Sysvane
#   make test   install what is missing, build, run every test (the end-to-end ones too)
BUILD_DIR ?= build
BUILD_TYPE ?= Release
# The machines have two cores.
JOBS ?= 2

.PHONY: all setup build run test bench package sanitize fuzz fuzz-smoke

all: build

setup:
	@scripts/setup.sh

build: setup
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)
	cmake --build $(BUILD_DIR) -j$(JOBS)

run: build
	@scripts/run.sh $(BUILD_DIR)

test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j$(JOBS) -LE desktops

# The end-to-end scenarios on GNOME Shell, KDE Plasma and sway, whose packages are large: they are
# installed here, not by `make setup`.
.PHONY: desktops-setup desktops-test
desktops-setup:
	@scripts/setup-desktops.sh

desktops-test: desktops-setup build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -L desktops

bench: build
	@scripts/bench.sh $(BUILD_DIR)

# Sysvane side by side with conky, gkrellm and the Qt floor, and on the tray-only desktops (about 13 minutes; see bench/compare.sh).
.PHONY: compare
compare: build
	bench/compare.sh --build $(BUILD_DIR) --no-build

# The Debian package, built from the Release build: $(BUILD_DIR)/sysvane_2.0_<arch>.deb
package: build
	cmake --build $(BUILD_DIR) --target package

# How many small faults planted in the code the tests catch: 300 mutants over every code folder, a
# fresh seed each run (printed; MUTATE_ARGS="--seed N" repeats it), in build-mutate/; report in
# build-mutate/mutate-report.md. A mutant of the shell or the Qt runtime that the unit tests let
# through also meets the end-to-end scenarios, minutes each. MUTATE_ARGS="--count 50" for a short
# run, "--windows" to add platform/windows/ through the Windows tests under Wine (make windows first).
.PHONY: mutate
mutate: setup
	scripts/mutate.py --build-dir build-mutate --jobs $(JOBS) $(MUTATE_ARGS)

# Every test again with AddressSanitizer, UndefinedBehaviorSanitizer and leak checking, in build-asan/.
sanitize: setup
	scripts/sanitize.sh build-asan

# A few seconds of every fuzz target (clang, in build-fuzz/); `make fuzz` runs them for long.
fuzz-smoke: setup
	scripts/fuzz-smoke.sh

fuzz: setup
	scripts/fuzz.sh

# The native Windows program and its tests, cross-compiled with MinGW-w64 into build-windows/
# (sysvane.exe needs no DLL) and run under Wine in a fresh prefix of that folder.
WINDOWS_BUILD_DIR ?= build-windows
.PHONY: windows-setup windows windows-test

windows-setup:
	@scripts/setup-windows.sh

windows: windows-setup
	cmake -S . -B $(WINDOWS_BUILD_DIR) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)
	cmake --build $(WINDOWS_BUILD_DIR) -j$(JOBS)

windows-test: windows
	JOBS=$(JOBS) scripts/windows-test.sh $(WINDOWS_BUILD_DIR)
