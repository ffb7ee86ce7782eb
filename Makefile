# The two commands of the README. Each installs what is missing first.
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: run test deps

deps:
	@scripts/install-deps

run: deps
	cmake --preset release
	cmake --build --preset release -j $(JOBS)
	cd build/release && ./glyphfall

test: deps
	cmake --preset default
	cmake --build --preset default -j $(JOBS)
	ctest --preset default -j $(JOBS)
