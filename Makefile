# The two commands of the README: `make run` and `make test`.
BUILD_RUN  ?= build/run
BUILD_TEST ?= build/test
JOBS       ?= $(shell nproc)

.PHONY: run test deps build-run build-test bench deb fuzz capturas clean

deps:
	@bash scripts/instala-dependencias.sh

build-run: deps
	cmake -S . -B $(BUILD_RUN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DROTEAMENTO_TESTS=OFF
	cmake --build $(BUILD_RUN) -j $(JOBS)

run: build-run
	VARDO_UNIDADE=$(abspath $(BUILD_RUN))/demo/unidade $(BUILD_RUN)/configurador-roteamento

build-test: deps
	cmake -S . -B $(BUILD_TEST) -DCMAKE_BUILD_TYPE=Debug -DROTEAMENTO_SANITIZE=ON -DROTEAMENTO_WERROR=ON -DROTEAMENTO_BENCH=OFF
	cmake --build $(BUILD_TEST) -j $(JOBS)

test: build-test
	cd $(BUILD_TEST) && ctest --output-on-failure -j $(JOBS)

bench: deps
	cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DROTEAMENTO_TESTS=OFF
	cmake --build build/bench -j $(JOBS)
	@set -e; for b in build/bench/bench/bench_*; do \
	  [ -f "$$b" ] && [ -x "$$b" ] || continue; echo "== $$b"; "$$b"; done

# The Debian package, from a release build laid out for /usr.
deb: deps
	cmake -S . -B build/deb -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
	  -DROTEAMENTO_TESTS=OFF -DROTEAMENTO_BENCH=OFF -DROTEAMENTO_DEMO=OFF
	cmake --build build/deb -j $(JOBS)
	cd build/deb && cpack -G DEB
	@ls -l build/deb/*.deb

# The operator's guide screenshots (docs/imagens/), made anew from the program under Xvfb.
capturas: build-run
	@bash scripts/instala-dependencias.sh docs
	bash docs/capturas.sh -b $(BUILD_RUN)

# Long fuzzing with libFuzzer (clang, ASan+UBSan): each target FUZZ_TEMPO seconds (or 2 million
# runs), two at a time; `make test` only replays the kept corpora. FUZZ_ALVOS=tabrot perfil ...
FUZZ_TEMPO ?= 600
FUZZ_ALVOS ?=
fuzz: deps
	cmake -S tests/fuzz -B build/fuzz -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
	cmake --build build/fuzz -j $(JOBS)
	FUZZ_TEMPO=$(FUZZ_TEMPO) tests/fuzz/fuzz.sh build/fuzz $(FUZZ_ALVOS)

clean:
	rm -rf build
