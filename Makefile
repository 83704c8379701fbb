# Two commands are all a fresh Debian 12 machine needs:
#   make play   installs what is missing, builds and starts the game
#   make test   installs what is missing, builds and runs every test
.PHONY: play test deps build asan fuzz bench clean

PRESET ?= default

deps:
	@tools/install-deps.sh

build: deps
	cmake --preset $(PRESET)
	cmake --build --preset $(PRESET)

play: build
	cd build/$(PRESET)/game && ./quintaro

test: build
	export QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy XDG_RUNTIME_DIR=$$(mktemp -d) && \
	ctest --preset $(PRESET) -j2

asan:
	$(MAKE) test PRESET=asan

fuzz: deps
	tools/run-fuzzers.sh 60

bench: build
	build/$(PRESET)/bench/quintaro_bench

clean:
	rm -rf build
