# The two commands a newcomer types: make demo, make test.
FUZZ_SECONDS ?= 60

# The Windows build whose programs Wine runs on this machine: the 32-bit one,
# or, where the machine cannot run 32-bit programs, the 64-bit build of the
# same code. The shipped DLL is always the 32-bit one.
WINDOWS = $(shell tools/wine-run --preset)

.PHONY: test demo run bootstrap build build-windows build-native test-windows test-native fuzz bench bench-wine mutants clean

test: bootstrap build
	@status=0; \
	[ "$(WINDOWS)" = windows ] || tests/frame/check-dll-tables build/windows/bin/vcardpc.dll || status=1; \
	ctest --preset $(WINDOWS) || status=1; \
	ctest --preset native || status=1; \
	tools/wine-run --stop; \
	exit $$status

# The scripted session: screenshots and the transcript under out/demo/; the
# card files in out/demo/data stay between runs. Wine cannot read the label of
# the Z: volume (the Linux root) when a file dialog lists the drives, and
# says so on stderr: that line is left out.
demo: bootstrap build-windows
	@mkdir -p out/demo; \
	{ tools/wine-run build/$(WINDOWS)/bin/devhost.exe --script out/demo 2>&1; echo $$? > out/demo/.status; } \
	  | grep -v 'FS volume label and serial are not available'; \
	status=$$(cat out/demo/.status); rm -f out/demo/.status; \
	for f in out/demo/*.png; do echo "  $$f"; done; \
	echo "transcript: out/demo/transcript.txt"; \
	tools/wine-run --stop; \
	exit $$status

# The development host for a person: on $$DISPLAY, or on the runner's own Xvfb.
run: bootstrap build-windows
	@mkdir -p out/devhost
	tools/wine-run build/$(WINDOWS)/bin/devhost.exe --folder out/devhost

bootstrap:
	@tools/bootstrap

build: build-windows build-native

build/%/build.ninja:
	cmake --preset $* >/dev/null

# The 32-bit DLL always; the programs of the build that runs here.
build-windows: build/windows/build.ninja
	@if [ "$(WINDOWS)" = windows ]; then \
	  cmake --build --preset windows; \
	else \
	  cmake --build --preset windows --target vcardpc && \
	  { [ -f build/$(WINDOWS)/build.ninja ] || cmake --preset $(WINDOWS) >/dev/null; } && \
	  cmake --build --preset $(WINDOWS); \
	fi

build-native: build/native/build.ninja
	cmake --build --preset native

test-windows: bootstrap build-windows
	ctest --preset $(WINDOWS); status=$$?; tools/wine-run --stop; exit $$status

test-native: bootstrap build-native
	ctest --preset native

# Each fuzz target runs FUZZ_SECONDS on a scratch copy of its seed corpus.
FUZZ_TARGETS := xml base64 vcard
FUZZ_WORK := build/fuzz

fuzz: build-native
	@status=0; \
	for t in $(FUZZ_TARGETS); do \
	  mkdir -p $(FUZZ_WORK)/corpus/$$t $(FUZZ_WORK)/artifacts/$$t; \
	  cp fuzz/corpus/$$t/* $(FUZZ_WORK)/corpus/$$t/; \
	  build/native/bin/fuzz_$$t -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
	    -artifact_prefix=$(FUZZ_WORK)/artifacts/$$t/ $(FUZZ_WORK)/corpus/$$t || status=1; \
	done; \
	exit $$status

bench: build-native
	build/native/bin/bench_support
	build/native/bin/bench_vcard

# Benchmarks of the Windows code, under Wine.
bench-wine: bootstrap build-windows
	tools/wine-run build/$(WINDOWS)/bin/cache_bench.exe
	tools/wine-run build/$(WINDOWS)/bin/card_bench.exe
	tools/wine-run build/$(WINDOWS)/bin/search_bench.exe
	tools/wine-run build/$(WINDOWS)/bin/photo_bench.exe

# Each fault of tools/mutants.txt applied alone to a scratch copy, rebuilt and
# tested: killed or survived, and the score.
mutants: bootstrap
	tools/mutants

clean:
	rm -rf build out
