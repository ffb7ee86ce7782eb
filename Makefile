# The README's two commands, `make run` and `make test`; each installs what is
# missing first. `make bench` and `make fuzz` measure and search longer.
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
FUZZ_SECONDS ?= 300

.PHONY: run test deps bench fuzz

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
	cmake --preset asan
	cmake --build --preset asan -j $(JOBS)
	ctest --preset asan -j $(JOBS) -E 'e2e\.(perfect_all|random_keys|install|replay_seeds)'
	cmake --preset fuzz
	cmake --build --preset fuzz -j $(JOBS)
	scripts/run-fuzz 15

bench: deps
	scripts/run-bench

fuzz: deps
	cmake --preset fuzz
	cmake --build --preset fuzz -j $(JOBS)
	scripts/run-fuzz $(FUZZ_SECONDS)
