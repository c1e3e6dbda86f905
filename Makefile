# Kelvane: make run | make test | make bench | make format
BUILD_DIR ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all deps configure build run test bench format install clean

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

bench: build
	$(BUILD_DIR)/bench/kelvane_bench

format:
	clang-format -i $$(git ls-files '*.h' '*.cpp')

install: build
	cmake --install $(BUILD_DIR)

clean:
	rm -rf $(BUILD_DIR)
