# Top-level commands. `make run` and `make test` do all set-up on a fresh Debian 12 machine.
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all deps configure build run test test-release test-sanitize bench package format format-check clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake --preset release >/dev/null

build: configure
	@cmake --build --preset release -j $(JOBS)

run: build
	@./build/release/tablewise

test: deps test-release test-sanitize

test-release: build
	@ctest --preset release

test-sanitize: deps
	@cmake --preset sanitize >/dev/null
	@cmake --build --preset sanitize -j $(JOBS)
	@ctest --preset sanitize

bench: build
	@for b in build/release/bench/bench_*; do echo "== $$b"; "$$b" || exit 1; done

# The Debian package, build/release/tablewise_<version>_<arch>.deb (CPack, cmake/install.cmake).
package: build
	@cd build/release && cpack --config CPackConfig.cmake

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

format-check:
	@git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

clean:
	@rm -rf build
