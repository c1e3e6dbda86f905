# Kelvane: make run | make test | make bench | make format
BUILD_DIR ?= build
# The stress library and its tests once more with intermediate terms in double.
DOUBLE_BUILD_DIR ?= $(BUILD_DIR)-double
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all deps configure build run test test-double bench format install clean

all: build

deps:
	@bash scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@bash scripts/run.sh $(BUILD_DIR)/kelvane

test: CMAKE_FLAGS += -DKELVANE_WERROR=ON
test: build
	@bash scripts/run-tests.sh $(BUILD_DIR)
	@$(MAKE) --no-print-directory test-double

# The stress property families where long double is no wider than double.
test-double: deps
	cmake -S . -B $(DOUBLE_BUILD_DIR) -DCMAKE_BUILD_TYPE=Release -DKELVANE_WERROR=ON \
	  -DKELVANE_EXTENDED_AS_DOUBLE=ON -DKELVANE_BUILD_UI=OFF -DKELVANE_BUILD_BENCH=OFF
	cmake --build $(DOUBLE_BUILD_DIR) -j $(JOBS) \
	  --target principal_values_test principal_axes_test joint_stresses_test
	ctest --test-dir $(DOUBLE_BUILD_DIR) -R '^Families/' --output-on-failure -j $(JOBS)

bench: build
	$(BUILD_DIR)/bench/kelvane_bench

format:
	clang-format -i $$(git ls-files '*.h' '*.cpp')

install: build
	cmake --install $(BUILD_DIR)

clean:
	rm -rf $(BUILD_DIR) $(DOUBLE_BUILD_DIR)
