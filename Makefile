# The two set-up commands are `sh setup.sh play` and `sh setup.sh test` (see README.md);
# these targets are shortcuts for developers.
.PHONY: play test asan fuzz bench clean

play:
	sh setup.sh play

test:
	sh setup.sh test

asan:
	sh tools/install-deps.sh
	cmake --preset asan
	cmake --build --preset asan
	export QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy XDG_RUNTIME_DIR=$$(mktemp -d) && \
	ctest --preset asan -j2

fuzz:
	sh tools/install-deps.sh
	tools/run-fuzzers.sh 60

bench: test
	build/ci/bench/quintaro_bench && build/ci/bench/quintaro_coach_bench

clean:
	rm -rf build
