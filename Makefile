# Kelvane: make run | make test | make bench | make format
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

.PHONY: all deps configure build run test test-double bench format install clean

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

format:
	clang-format -i $$(git ls-files '*.h' '*.cpp')

install: build
	cmake --install $(BUILD_DIR)

clean:
	rm -rf $(BUILD_DIR) $(DOUBLE_BUILD_DIR)
