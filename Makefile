# The two commands of the README: `make run` and `make test`.
BUILD_RUN  ?= build/run
BUILD_TEST ?= build/test
JOBS       ?= $(shell nproc)

.PHONY: run test deps build-run build-test bench clean

deps:
	@bash scripts/instala-dependencias.sh

build-run: deps
	cmake -S . -B $(BUILD_RUN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DROTEAMENTO_TESTS=OFF
	cmake --build $(BUILD_RUN) -j $(JOBS)

run: build-run
	VARDO_UNIDADE=$(abspath $(BUILD_RUN))/demo/unidade $(BUILD_RUN)/configurador-roteamento

build-test: deps
	cmake -S . -B $(BUILD_TEST) -DCMAKE_BUILD_TYPE=Debug -DROTEAMENTO_SANITIZE=ON -DROTEAMENTO_BENCH=OFF
	cmake --build $(BUILD_TEST) -j $(JOBS)

test: build-test
	cd $(BUILD_TEST) && ctest --output-on-failure -j $(JOBS)

bench: deps
	cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DROTEAMENTO_TESTS=OFF
	cmake --build build/bench -j $(JOBS)
	@for b in build/bench/bench/bench_*; do echo "== $$b"; $$b; done

clean:
	rm -rf build
