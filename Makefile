# make test: install what is missing, build both builds, run every test.
# make demo: scan a demo registry in a private Wine prefix.
# make format: apply .clang-format (make test checks it).
# make dist: the setup program and the portable zip in build/dist/.
SHELL := /bin/bash
JOBS ?= 2

.PHONY: all deps native win64 test test-native test-win64 demo dist format clean

all: native win64

deps:
	@scripts/install-deps

native: deps
	@cmake --preset native >/dev/null
	@cmake --build --preset native -j$(JOBS)

win64: deps
	@cmake --preset win64 >/dev/null
	@cmake --build --preset win64 -j$(JOBS)

# Both suites run even when the first fails; the last lines are CTest's two summaries.
test: native win64
	@mkdir -p build; \
	ctest --preset native -j$(JOBS) 2>&1 | tee build/ctest-native.log; native=$${PIPESTATUS[0]}; \
	ctest --preset win64 -j$(JOBS) 2>&1 | tee build/ctest-win64.log; win=$${PIPESTATUS[0]}; \
	echo; \
	echo "native: $$(grep -E 'tests passed|tests failed' build/ctest-native.log | tail -n1)"; \
	echo "win64:  $$(grep -E 'tests passed|tests failed' build/ctest-win64.log | tail -n1)"; \
	test $$native -eq 0 -a $$win -eq 0

test-native: native
	@ctest --preset native -j$(JOBS)

test-win64: win64
	@ctest --preset win64 -j$(JOBS)

demo: win64
	@scripts/demo

# The win64 build makes both packages; this names them.
dist: win64
	@ls -l build/dist/vantrel-*-setup.exe build/dist/vantrel-*-portable.zip

format: deps
	@scripts/format

clean:
	rm -rf build
