# The two commands a player needs: `make play` and `make test`.
BUILD ?= build
SANBUILD ?= build-sanitize

PREFIX ?= $(HOME)/.local

SHELL := /bin/bash
.PHONY: format format-check fuzz play test build game deps deps-test deps-package sanitize bench clean install uninstall package screenshots replays

# Playing needs only the game and its pictures and sounds: a first `make play` configures the
# build without the test suite (and so without GoogleTest) and builds the game alone. `make
# test` turns the suite on in the same build folder, in either order. ARGS go to the game.
play: deps game
	@if [ -z "$$DISPLAY$$WAYLAND_DISPLAY$$SDL_VIDEODRIVER" ]; then \
	  echo "Quindara needs a desktop to open its window: no DISPLAY or WAYLAND_DISPLAY is set (run it from a desktop session)."; \
	  exit 1; fi
	$(abspath $(BUILD))/quindara $(ARGS)

test: deps-test
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUINDARA_TESTS=ON $(CMAKE_ARGS)
	@cmake --build $(BUILD) -j2
	cd $(BUILD) && ctest --output-on-failure --no-tests=error -j2

# The sources in the project's own style (.clang-format): format-check fails on any that
# differ, format rewrites them.
FORMATTED = git ls-files 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'tools/*.cpp' 'tools/*.h' 'bench/*.cpp'
format-check: deps-test
	clang-format --dry-run --Werror $$($(FORMATTED))
format:
	clang-format -i $$($(FORMATTED))

deps:
	@scripts/setup-deps.sh play

deps-test:
	@scripts/setup-deps.sh test

deps-package:
	@scripts/setup-deps.sh package

build: $(BUILD)/CMakeCache.txt
	@cmake --build $(BUILD) -j2

game: $(BUILD)/CMakeCache.txt
	@cmake --build $(BUILD) -j2 --target quindara

# A new build folder starts without the test suite; `make test` adds it.
$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUINDARA_TESTS=OFF $(CMAKE_ARGS)

# The whole suite under AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize: deps-test
	cmake -S . -B $(SANBUILD) -DCMAKE_BUILD_TYPE=Debug -DQUINDARA_SANITIZE=ON
	cmake --build $(SANBUILD) -j2
	cd $(SANBUILD) && ASAN_OPTIONS=detect_leaks=0 ctest --output-on-failure --no-tests=error -j2

# libFuzzer on the readers of outside data, a minute each from the committed seeds: the course,
# the settings, the replay file, and a replay played (its checksum mended, its first frames
# run and drawn; it keeps the game's pictures loaded for the whole process, as the game does,
# so it is not asked to find leaks).
FUZZBUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
fuzz: deps-test
	CC=clang CXX=clang++ cmake -S . -B $(FUZZBUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUINDARA_FUZZ=ON
	cmake --build $(FUZZBUILD) -j2 --target resources level_fuzz settings_fuzz replay_fuzz replay_run_fuzz
	@for t in level settings replay replay_run; do \
	  rm -rf $(FUZZBUILD)/corpus/$$t && mkdir -p $(FUZZBUILD)/corpus/$$t $(FUZZBUILD)/findings && \
	  cp tests/fuzz/corpus/$$t/* $(FUZZBUILD)/corpus/$$t/ && \
	  echo "fuzzing the $$t reader for $(FUZZ_SECONDS) s" && \
	  leaks=1; [ $$t = replay_run ] && leaks=0; \
	  ASAN_OPTIONS=detect_leaks=$$leaks ./$(FUZZBUILD)/$${t}_fuzz -seed=1 -max_total_time=$(FUZZ_SECONDS) -max_len=65536 \
	    -artifact_prefix=$(CURDIR)/$(FUZZBUILD)/findings/$$t- $(CURDIR)/$(FUZZBUILD)/corpus/$$t 2>&1 | \
	    grep -E '^(Done|#[0-9]+ *DONE)|ERROR|SUMMARY|stat::' ; \
	  [ $${PIPESTATUS[0]} -eq 0 ] || { echo "the $$t fuzzer found a fault: see $(FUZZBUILD)/findings"; exit 1; }; \
	done

bench: deps build
	cmake --build $(BUILD) --target bench_frame
	bench/run.sh ./$(BUILD)/bench_frame $(BUILD)/_resources

# For one player, no root needed: PREFIX/bin/quindara, PREFIX/share/quindara, the desktop
# entry and icons. `sudo make install PREFIX=/usr/local` installs for everyone. The manifest
# is kept with the installed game, so `make uninstall` works after `make clean` too.
install: deps build
	@scripts/install.sh $(BUILD) "$(PREFIX)"

uninstall:
	@scripts/uninstall.sh "$(PREFIX)"

# The Debian package, $(BUILD)/package/quindara_1.0.2_amd64.deb.
package: deps-package build
	cd $(BUILD) && cpack -G DEB
	@ls $(BUILD)/package/*.deb

# The README's pictures, taken with the game's own drawing.
screenshots: deps build
	cmake --build $(BUILD) --target screenshots
	./$(BUILD)/screenshots $(BUILD)/_resources docs

# Records the committed replays again, after a rule was changed on purpose, and shows which
# frames of each now differ from before. A replay whose digests cannot be read fails the run;
# after a change of the replay format (the old files are then another version's) record with
# `make replays NEW_FORMAT=1`, which skips the comparison.
replays: deps build
	cmake --build $(BUILD) --target record_replays
	@rm -rf $(BUILD)/replay-digests && mkdir -p $(BUILD)/replay-digests/before $(BUILD)/replay-digests/after
	@if [ -z "$(NEW_FORMAT)" ]; then for f in tests/replays/*.qrp; do [ -f "$$f" ] || continue; \
	  ./$(BUILD)/quindara --replay "$$f" --dump --recorded > $(BUILD)/replay-digests/before/$$(basename $$f .qrp).txt || \
	  { echo "cannot read the digests of $$f (see $(BUILD)/replay-digests/before)"; exit 1; }; done; fi
	./$(BUILD)/record_replays $(BUILD)/_resources tests/replays
	@for f in tests/replays/*.qrp; do n=$$(basename $$f .qrp); \
	  ./$(BUILD)/quindara --replay "$$f" --dump --recorded > $(BUILD)/replay-digests/after/$$n.txt || \
	  { echo "cannot read the digests of the new $$f"; exit 1; }; \
	  if [ ! -f $(BUILD)/replay-digests/before/$$n.txt ]; then echo "$$n: a new replay"; \
	  elif [ -z "$(NEW_FORMAT)" ]; then \
	    echo "$$n: $$(diff $(BUILD)/replay-digests/before/$$n.txt $(BUILD)/replay-digests/after/$$n.txt | grep -c '^>') frames changed"; \
	  else echo "$$n: recorded in the new format"; fi; done

clean:
	rm -rf $(BUILD) $(SANBUILD) $(FUZZBUILD)
