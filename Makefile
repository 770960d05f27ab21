# Two commands do everything on a fresh Debian machine: `make run` and `make test`.
BUILD_DIR ?= build
SANITIZE_DIR ?= build-sanitize
JOBS ?= $(shell nproc)
PREFIX ?= /usr/local

.PHONY: all build configure sanitize-build deps run test install bench screenshots clean

all: build

configure:
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

# The unit tests again, built with AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize-build:
	cmake -S . -B $(SANITIZE_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMANDELJULIA_SANITIZE=ON
	cmake --build $(SANITIZE_DIR) -j $(JOBS) --target unit_tests event_soak

deps:
	scripts/install-deps

run: deps build
	./$(BUILD_DIR)/mandeljulia

test: deps build sanitize-build
	cd $(SANITIZE_DIR) && ctest --output-on-failure -L unit
	cd $(BUILD_DIR) && ctest --output-on-failure

# Honours DESTDIR for staged installs: make install DESTDIR=/tmp/stage PREFIX=/usr
install: build
	cmake --install $(BUILD_DIR) --prefix $(PREFIX)

# Render speed of fixed views, plain loop against vector kernel (README: Performance).
bench: deps build
	./$(BUILD_DIR)/mandeljulia-bench --benchmark_min_time=0.5

# The README's pictures of the program, into docs/ (Xvfb, real input, PNG).
screenshots: deps build
	MANDELJULIA=$(BUILD_DIR)/mandeljulia MANDELJULIA_RENDER=$(BUILD_DIR)/tests/mandeljulia-render scripts/screenshots docs

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR)
