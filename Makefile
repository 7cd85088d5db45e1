# The two set-up commands and the bounded benchmark and fuzz runs.
.PHONY: run test bench fuzz clean

run:
	bash scripts/run.sh

test:
	bash scripts/test.sh

bench:
	bash scripts/bench.sh

fuzz:
	bash scripts/fuzz.sh

clean:
	rm -rf build
