# Two entry points for a newcomer: `make run` and `make test`.
BUILD_DIR ?= build
SAMPLE_RUN := $(BUILD_DIR)/sample-run
JOBS ?= $(shell nproc)

# The checked builds, each in a folder of its own.
SANITIZE_DIR ?= build-sanitize
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_TARGETS := scan_keys number_text export_settings balance_settings user_files \
	table_list window_position ascii_file balance_input round_to_decimals
# Qt and the system libraries are not instrumented; their own leaks are suppressed,
# never the project's.
SANITIZER_ENV := UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan-suppressions.txt:print_suppressions=0
# The fuzzers run many small inputs: a smaller quarantine and no fill of fresh memory
# make them several times faster.
FUZZ_ASAN := ASAN_OPTIONS=detect_leaks=1:quarantine_size_mb=16:max_malloc_fill_size=0

.PHONY: all deps configure build run test bench test-sanitize fuzz-build fuzz clean

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
	./scripts/sample-run.sh "$(BUILD_DIR)/sample-folder" "$(SAMPLE_RUN)"
	cd "$(SAMPLE_RUN)" && "$(CURDIR)/$(BUILD_DIR)/src/tavexport" --program-folder .

test: deps build
	QT_QPA_PLATFORM=offscreen ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

# The cost benchmarks, each case with its ratio to a baseline timed in the same run.
bench: deps build
	QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/bench/tavbench

# The whole test suite again, under AddressSanitizer and UndefinedBehaviorSanitizer.
# The leak check does not follow the thread-local storage of loaded plugins: the
# sanitizer runtime of this compiler takes some of its blocks for an older glibc's,
# depending only on where they happen to lie, and its leak check then crashes at the end
# of a test that passed.
test-sanitize: deps
	cmake -S . -B $(SANITIZE_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAV_SANITIZE=ON
	cmake --build $(SANITIZE_DIR) -j $(JOBS)
	QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1:intercept_tls_get_addr=0 $(SANITIZER_ENV) \
		ctest --test-dir $(SANITIZE_DIR) --output-on-failure -j $(JOBS)

fuzz-build: deps
	CXX=clang++ cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAV_FUZZ=ON
	cmake --build $(FUZZ_DIR) -j $(JOBS)

# Runs each fuzz target for FUZZ_SECONDS, one after the other, starting from the seeds in
# fuzz/corpus/<target>; what it learns stays in $(FUZZ_DIR)/corpus, a finding in
# $(FUZZ_DIR)/findings.
fuzz: fuzz-build
	@mkdir -p $(FUZZ_DIR)/findings
	@for target in $(FUZZ_TARGETS); do \
		echo "== $$target ($(FUZZ_SECONDS) s)"; \
		mkdir -p $(FUZZ_DIR)/corpus/$$target || exit 1; \
		$(FUZZ_ASAN) $(SANITIZER_ENV) $(FUZZ_DIR)/fuzz/$${target}_fuzz -max_total_time=$(FUZZ_SECONDS) \
			-print_final_stats=1 -artifact_prefix=$(FUZZ_DIR)/findings/$$target- \
			$(FUZZ_DIR)/corpus/$$target fuzz/corpus/$$target || exit 1; \
	done

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR) $(FUZZ_DIR)
