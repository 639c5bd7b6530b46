# make test: install what is missing, build every build, run every test.
# make demo: scan a demo registry in a private Wine prefix.
# make format: apply .clang-format (make test checks it).
# make fuzz: run every fuzz target FUZZ_SECONDS (60) seconds, one after the other.
# make dist: the setup program and the portable zip in build/dist/.
# make bench: the speed and memory table on a generated Windows 11 registry (not part of test).
SHELL := /bin/bash
JOBS ?= 2
FUZZ_SECONDS ?= 60

.PHONY: all deps native win64 tsan fuzz-build fuzz test test-native test-win64 demo dist bench format clean

all: native win64

deps:
	@scripts/install-deps

native: deps
	@cmake --preset native >/dev/null
	@cmake --build --preset native -j$(JOBS)

win64: deps
	@cmake --preset win64 >/dev/null
	@cmake --build --preset win64 -j$(JOBS)

# The thread sanitizer's build of the threaded core, and the fuzz targets (clang).
tsan: deps
	@cmake --preset tsan >/dev/null
	@cmake --build --preset tsan -j$(JOBS)

fuzz-build: deps
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz -j$(JOBS)

fuzz: fuzz-build
	@FUZZ_SECONDS=$(FUZZ_SECONDS) scripts/fuzz

# Every suite runs even when one fails (the fuzz targets for a few seconds each); the last lines
# are CTest's summaries.
test: native win64 tsan fuzz-build
	@mkdir -p build; status=0; \
	for preset in native win64 tsan fuzz; do \
		ctest --preset $$preset -j$(JOBS) 2>&1 | tee build/ctest-$$preset.log; \
		[[ $${PIPESTATUS[0]} -eq 0 ]] || status=1; \
	done; \
	echo; \
	for preset in native win64 tsan fuzz; do \
		printf '%-7s %s\n' "$$preset:" "$$(grep -E 'tests passed|tests failed' build/ctest-$$preset.log | tail -n1)"; \
	done; \
	exit $$status

test-native: native
	@ctest --preset native -j$(JOBS)

test-win64: win64
	@ctest --preset win64 -j$(JOBS)

demo: win64
	@scripts/demo

# Builds what it runs itself; about an hour on two cores, most of it the full size.
bench: deps
	@scripts/bench

# The win64 build makes both packages; this names them.
dist: win64
	@ls -l build/dist/vantrel-*-setup.exe build/dist/vantrel-*-portable.zip

format: deps
	@scripts/format

clean:
	rm -rf build
