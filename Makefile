# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: Kestrel developers
#
# make run    build and start Kestrel on the embedded demo hospital
# make test   build and run every test (SQLite, then the database tests on PostgreSQL)
# make package  a Debian package of the program and kestrel-admin (build/package/*.deb)
# make bench  time the program's own paths on a hospital-sized database (docs/performance.md):
#             a Release build in build-bench/; the first run creates the hospital (SQLite,
#             bench-data/hospital.sqlite or small.sqlite). BENCH_ARGS passes options to
#             kestrel-bench:
#             make bench BENCH_ARGS=--small
#             make bench BENCH_ARGS="--pg 127.0.0.1:54330:kestrel_bench"
# make soak   4 workstation processes post 2,000 charge batches each on each backend while 100
#             of them are killed and (PostgreSQL, a server of the run's own) the server restarts
#             10 times; then counts duplicates, partial batches and double charges
#             (docs/reliability.md). Not part of `make test`. A quick try: make soak SOAK_BATCHES=200
#             SOAK_ARGS passes options to kestrel-soak (--kills, --restarts, --workstations).

BUILD ?= build
BUILD_TYPE ?= Debug
JOBS ?= 2
BENCH_ARGS ?=
SOAK_BATCHES ?= 2000
SOAK_ARGS ?=
# Compiler cache entries are shared by every clone of the project on this machine.
export CCACHE_BASEDIR ?= $(CURDIR)

.PHONY: all deps configure build run test package bench soak clean

all: build

deps:
	@scripts/install-deps

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DKESTREL_WERROR=ON \
	    $$(command -v ccache >/dev/null && echo -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

configure: $(BUILD)/build.ninja

build: deps configure
	cmake --build $(BUILD) -j$(JOBS)

run: build
	@scripts/run $(BUILD)

test: build
	@scripts/run-tests $(BUILD)

package: build
	cmake --build $(BUILD) --target package

# kestrel-bench answers 2 when there is no hospital yet: it is then run again to create one.
bench: deps
	@$(MAKE) --no-print-directory BUILD=build-bench BUILD_TYPE=Release configure
	cmake --build build-bench -j$(JOBS) --target kestrel-bench
	@build-bench/bench/kestrel-bench $(BENCH_ARGS); status=$$?; \
	if [ $$status -eq 2 ]; then build-bench/bench/kestrel-bench --generate $(BENCH_ARGS); \
	else exit $$status; fi

soak: deps configure
	cmake --build $(BUILD) -j$(JOBS) --target kestrel-soak
	$(BUILD)/tools/soak/kestrel-soak --backend sqlite --batches $(SOAK_BATCHES) $(SOAK_ARGS)
	$(BUILD)/tools/soak/kestrel-soak --backend postgres --batches $(SOAK_BATCHES) $(SOAK_ARGS)

clean:
	rm -rf $(BUILD)
