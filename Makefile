# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: Kestrel developers
#
# make run    build and start Kestrel on the embedded demo hospital
# make test   build and run every test (SQLite, then the database tests on PostgreSQL)
# make bench  time the program's own paths on a hospital-sized database

BUILD ?= build
BUILD_TYPE ?= Debug
JOBS ?= 2

.PHONY: all deps configure build run test bench clean

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

bench: build
	@echo "make bench: the benchmark is not yet part of Kestrel."

clean:
	rm -rf $(BUILD)
