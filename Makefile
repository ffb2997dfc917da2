# The two commands of the README. Each runs the set-up first; with nothing missing
# the set-up only checks and takes a few seconds.
.PHONY: test run setup fuzz clean

setup:
	@scripts/setup.sh

test: setup
	@scripts/test.sh

run: setup
	@scripts/run.sh

fuzz: setup
	@scripts/fuzz.sh $(FUZZ_SECONDS)

clean:
	rm -rf build/native build/win32 build/win64 build/fuzz
