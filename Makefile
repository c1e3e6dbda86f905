# Kelvane: make run | make test | make bench | make format | make package
#         make test-asan | make fuzz SECONDS=N | make soak | make mutants
# One build folder, configured alike for every target, so that make run, make
# test and make bench share what they have compiled: make run builds only the
# program and what it links, make test adds the test suites, make bench the
# benchmarks. Warnings are errors unless WERROR=OFF is given.
BUILD_DIR ?= build
# The stress library and its tests once more with intermediate terms in double.
DOUBLE_BUILD_DIR ?= $(BUILD_DIR)-double
JOBS ?= $(shell nproc)
WERROR ?= ON
CMAKE_FLAGS ?=
# The sanitizer and fuzzer builds: clang, each in a build folder of its own.
CLANG ?= clang++-14
ASAN_DIR ?= build-asan
FUZZ_DIR ?= build-fuzz
SECONDS ?= 60
FUZZ_TARGETS ?= read_number format_number stress plane_file case_file cli_tensors cli_planes \
  uncertainty

.PHONY: all deps configure build run test test-double bench format install package clean
.PHONY: test-asan fuzz soak mutants

all: build

deps:
	@bash scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release -DKELVANE_WERROR=$(WERROR) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS) --target kelvane

run: build
	@bash scripts/run.sh $(BUILD_DIR)/kelvane

test: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)
	@bash scripts/run-tests.sh $(BUILD_DIR)
	@$(MAKE) --no-print-directory test-double

# The stress property families where long double is no wider than double.
test-double: deps
	cmake -S . -B $(DOUBLE_BUILD_DIR) -DCMAKE_BUILD_TYPE=Release -DKELVANE_WERROR=ON \
	  -DKELVANE_EXTENDED_AS_DOUBLE=ON -DKELVANE_BUILD_UI=OFF -DKELVANE_BUILD_BENCH=OFF
	cmake --build $(DOUBLE_BUILD_DIR) -j $(JOBS) \
	  --target principal_values_test principal_axes_test joint_stresses_test
	ctest --test-dir $(DOUBLE_BUILD_DIR) -R '^Families/' --output-on-failure -j $(JOBS)

# The stress and number-text benchmarks, the window benchmark on Qt's
# offscreen platform, then the start-up comparison on a virtual X server.
bench: configure
	cmake --build $(BUILD_DIR) -j $(JOBS) --target benchmarks
	$(BUILD_DIR)/bench/stress_bench
	$(BUILD_DIR)/bench/number_text_bench
	QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/bench/window_bench --benchmark_repetitions=10 \
	  --benchmark_enable_random_interleaving=true --benchmark_report_aggregates_only=true
	bash bench/startup.sh $(BUILD_DIR)/bench/window_bench

# The whole suite under AddressSanitizer and UndefinedBehaviorSanitizer; any
# report fails its test (scripts/sanitizer-env.sh).
test-asan: deps
	cmake -S . -B $(ASAN_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=$(CLANG) \
	  -DKELVANE_SANITIZE=ON -DKELVANE_WERROR=ON -DKELVANE_BUILD_BENCH=OFF $(CMAKE_FLAGS)
	cmake --build $(ASAN_DIR) -j $(JOBS)
	@. scripts/sanitizer-env.sh && bash scripts/run-tests.sh $(ASAN_DIR)

# Each libFuzzer target for SECONDS seconds (fuzz/README.md).
fuzz: deps
	cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=$(CLANG) \
	  -DKELVANE_FUZZ=ON -DKELVANE_BUILD_TESTS=OFF -DKELVANE_BUILD_BENCH=OFF -DKELVANE_WERROR=ON \
	  $(CMAKE_FLAGS)
	cmake --build $(FUZZ_DIR) -j $(JOBS) --target $(addprefix fuzz_,$(FUZZ_TARGETS))
	@bash scripts/fuzz.sh $(FUZZ_DIR) $(SECONDS) $(FUZZ_TARGETS)

# 100,000 random passes in the real window, without and with typing.
soak: configure
	cmake --build $(BUILD_DIR) -j $(JOBS) --target kelvane_soak
	QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/tests/soak/kelvane_soak --typing=no
	QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/tests/soak/kelvane_soak --typing=yes

# Hand-made slips, each built and run against the whole suite.
mutants: deps
	@bash scripts/mutants.sh

format:
	clang-format -i $$(git ls-files '*.h' '*.cpp')

install: build
	cmake --install $(BUILD_DIR)

# The Debian package $(BUILD_DIR)/kelvane_<version>_<arch>.deb (cmake/packaging.cmake).
package: configure
	cmake --build $(BUILD_DIR) -j $(JOBS) --target kelvane kelvane-cli
	cd $(BUILD_DIR) && cpack

clean:
	rm -rf $(BUILD_DIR) $(DOUBLE_BUILD_DIR) $(ASAN_DIR) $(FUZZ_DIR) build-mutants
