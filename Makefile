# The two everyday commands are `make run` and `make test`; the rest are for developers.
# Each installs what is missing on a Debian machine first (as root, or with sudo).

PACKAGES := cmake ninja-build g++ clang libclang-rt-14-dev libgtest-dev libgmock-dev \
            libbenchmark-dev libsqlite3-dev locales-all libglpk-dev qt6-base-dev fonts-dejavu-core \
            libxcb1-dev xvfb xauth
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
FUZZ_SECONDS ?= 60

.PHONY: deps build run test check check-sanitize fuzz-build fuzz-smoke fuzz bench format clean

deps:
	@missing=$$(for p in $(PACKAGES); do dpkg -s $$p >/dev/null 2>&1 || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing: $$missing"; \
	  $(SUDO) apt-get update -qq && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq --no-install-recommends $$missing; \
	fi

build: deps
	cmake --preset default
	cmake --build --preset default

# The desktop lesson for the user logged in; without a display, the demonstration script played
# headless instead.
run: build
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then ./build/shell/tavrin --student "$$(id -un)"; \
	else echo "No display here: playing share/demo.play headless instead."; \
	  ./build/shell/tavrin --play share/demo.play --data-dir build/demo-data; fi

# Every test: a short fuzzing run of the entry line, the normal build and its tests, then the whole
# suite again under ASan + UBSan.
test: fuzz-smoke check check-sanitize

# The desktop tests that need a real X server (finding and raising another program's window) skip
# on the offscreen platform; they run again on a virtual X server.
X11_TESTS := desktop\.calculator(OpenedElsewhere|StartedByTheLesson)

check: build
	ctest --preset default
	xvfb-run -a -s "-screen 0 1280x1024x24" ctest --preset default -R '$(X11_TESTS)' --no-tests=error

check-sanitize: deps
	cmake --preset sanitize
	cmake --build --preset sanitize
	ctest --preset sanitize

fuzz-build: deps
	cmake --preset fuzz
	cmake --build --preset fuzz --target entry_fuzzer

# A few seconds on the checked-in corpus, enough to prove the target runs and finds nothing old.
fuzz-smoke: fuzz-build
	mkdir -p build-fuzz/smoke
	./build-fuzz/fuzz/entry_fuzzer -max_total_time=20 -seed=1 build-fuzz/smoke fuzz/corpus/entry \
	  > build-fuzz/smoke.log 2>&1 || { tail -40 build-fuzz/smoke.log; exit 1; }
	@tail -1 build-fuzz/smoke.log

fuzz: fuzz-build
	mkdir -p build-fuzz/corpus
	./build-fuzz/fuzz/entry_fuzzer -max_total_time=$(FUZZ_SECONDS) build-fuzz/corpus fuzz/corpus/entry

bench: build
	./build/bench/check_path_bench

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build build-sanitize build-fuzz
