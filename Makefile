# The two commands a player needs: `make play` and `make test`.
BUILD ?= build
SANBUILD ?= build-sanitize

.PHONY: play test build deps deps-test sanitize bench clean

play: deps build
	@if [ -z "$$DISPLAY$$WAYLAND_DISPLAY$$SDL_VIDEODRIVER" ]; then \
	  echo "Quindara needs a desktop to open its window: no DISPLAY or WAYLAND_DISPLAY is set (run it from a desktop session)."; \
	  exit 1; fi
	./$(BUILD)/quindara

test: deps-test build
	cd $(BUILD) && ctest --output-on-failure -j2

deps:
	@scripts/setup-deps.sh play

deps-test:
	@scripts/setup-deps.sh test

build: $(BUILD)/CMakeCache.txt
	@cmake --build $(BUILD) -j2

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

# The whole suite under AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize: deps-test
	cmake -S . -B $(SANBUILD) -DCMAKE_BUILD_TYPE=Debug -DQUINDARA_SANITIZE=ON
	cmake --build $(SANBUILD) -j2
	cd $(SANBUILD) && ASAN_OPTIONS=detect_leaks=0 ctest --output-on-failure -j2

bench: deps build
	cmake --build $(BUILD) --target bench_frame
	./$(BUILD)/bench_frame $(BUILD)/_resources

clean:
	rm -rf $(BUILD) $(SANBUILD)
