# The README's two commands, `make run` and `make test`; each installs what is
# missing first. `make bench` and `make fuzz` measure and search longer.
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
FUZZ_SECONDS ?= 300

.PHONY: run test deps bench fuzz web serve-web test-web

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

# The browser build (build/web): index.html, glyphfall.js/.wasm/.data.
web:
	@scripts/install-deps web
	cmake --preset web
	cmake --build --preset web -j $(JOBS)

serve-web:
	@echo "Glyphfall at http://localhost:8000/ (Ctrl+C stops)"
	cd build/web && python3 -m http.server 8000 --bind 127.0.0.1

# Plays the browser build in headless Chromium; needs the native frame timing
# from the default build for its comparison.
test-web: web
	cmake --preset default
	cmake --build --preset default -j $(JOBS) --target glyphfall-composetime
	cd tests/web && npm ci --no-audit --no-fund
	node tests/web/web-test.mjs
