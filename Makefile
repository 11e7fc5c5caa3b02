# Two entry points for a newcomer: `make run` and `make test`.
BUILD_DIR ?= build
SAMPLE_RUN := $(BUILD_DIR)/sample-run
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test bench clean

all: build

deps:
	./scripts/install-deps.sh

configure:
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

# Starts the window on a fresh copy of the sample program folder, so running it
# never changes tracked files.
run: deps build
	cmake --build $(BUILD_DIR) --target sample_folder
	./scripts/sample-run.sh $(BUILD_DIR)/sample-folder $(SAMPLE_RUN)
	cd $(SAMPLE_RUN) && $(CURDIR)/$(BUILD_DIR)/src/tavexport --program-folder .

test: deps build
	QT_QPA_PLATFORM=offscreen ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

# The cost benchmarks, each case with its ratio to a baseline timed in the same run.
bench: deps build
	QT_QPA_PLATFORM=offscreen TAVEXPORT_COM1=/nonexistent/tty-balance $(BUILD_DIR)/bench/tavbench

clean:
	rm -rf $(BUILD_DIR)
