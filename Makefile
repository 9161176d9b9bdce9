# Quick start: `make play` builds and runs the game, `make test` builds and runs every test.
# Both install any missing Debian package first (as root, or through sudo).

BUILD ?= build
JOBS ?= $(shell nproc)
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
# SDL2_mixer's headers reach JACK's through FluidSynth's: named here, JACK's second implementation
# serves them, the one Wine's 32-bit half needs too, so that installing Wine later removes nothing.
PACKAGES := cmake ninja-build g++ make pkg-config python3 systemd libgtest-dev libsdl2-dev libjack-jackd2-dev libsdl2-mixer-dev \
	libsdl2-ttf-dev libfribidi-dev libpulse-dev pulseaudio libespeak-ng-dev espeak-ng-data libutf8proc-dev fonts-dejavu-core \
	xvfb xauth sox xdotool dpkg-dev lintian desktop-file-utils appstream \
	nlohmann-json3-dev python3-jsonschema libsqlite3-dev libboost1.81-dev libssl-dev nftables chromium
# The fuzzer needs clang and its libFuzzer runtime.
FUZZ_PACKAGES := clang libclang-rt-14-dev
FUZZ_SECONDS ?= 1800
SOAK_GAMES ?= 100000 10000

# Ninja for every build folder it makes: at two jobs it keeps both busy across the libraries, where
# CMake's makefiles build one library's files only after those it links to (a fifth longer). A
# folder made before with another generator keeps its own.
generator = $(if $(wildcard $(1)/CMakeCache.txt),,-G Ninja)

.PHONY: deps configure build play serve test package sanitize tsan fuzz fuzz-ci fuzz-protocol soak bench bench-server windows windows32-runner windows-test clean

define install_missing
	@missing=$$(for p in $(1); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
		echo "Installing:" $$missing; \
		$(SUDO) apt-get -o DPkg::Lock::Timeout=900 update -qq && DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get -o DPkg::Lock::Timeout=900 install -y -qq $$missing; \
	fi
endef

# The browser tests' packages come from npm: the machine's Node.js and npm, else Debian's.
deps:
	$(call install_missing,$(PACKAGES))
	@command -v npm >/dev/null || { $(SUDO) apt-get -o DPkg::Lock::Timeout=900 update -qq && \
		DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get -o DPkg::Lock::Timeout=900 install -y -qq nodejs npm; }

configure: deps
	@cmake -S . -B $(BUILD) $(call generator,$(BUILD)) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

# Only the game itself: the tests are built by `make test`.
play: configure
	@cmake --build $(BUILD) -j $(JOBS) --target veldrisa
	cd $(BUILD) && ./veldrisa

# A local server for the online tables (README, "Online tables").
serve: build
	cd $(BUILD) && ./veldrisa-server

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The Linux packages (.deb) of the game and of the server, veldrisa-server, into $(BUILD)/.
package: build
	cd $(BUILD) && cpack -G DEB

# Every test again under AddressSanitizer and UndefinedBehaviorSanitizer, but the three longest
# end-to-end runs of the online tables (the browser, the real window online, the lossy network):
# the server's and the clients' code they drive is run under the sanitizers by the bots' golden
# and reconnect tests and the unit tests, and the three add minutes to every CI run.
SANITIZE_SKIP = ^(web_browser|e2e_online_play|bots_bad_network)$$
sanitize: deps
	@cmake -S . -B $(BUILD)-asan $(call generator,$(BUILD)-asan) -DCMAKE_BUILD_TYPE=Debug -DVELDRISA_SANITIZE=ON >/dev/null
	@cmake --build $(BUILD)-asan -j $(JOBS)
	cd $(BUILD)-asan && ctest --output-on-failure -j $(JOBS) -E '$(SANITIZE_SKIP)'

# The speech engine's tests under ThreadSanitizer: synthesis runs beside the main thread.
tsan: deps
	@cmake -S . -B $(BUILD)-tsan $(call generator,$(BUILD)-tsan) -DCMAKE_BUILD_TYPE=Debug -DVELDRISA_TSAN=ON >/dev/null
	@cmake --build $(BUILD)-tsan -j $(JOBS) --target platform_tests
	cd $(BUILD)-tsan && TSAN_OPTIONS=halt_on_error=1 ctest --output-on-failure -R '^(SpeechEngine|AudioOutput|Mixer)'

$(BUILD)-fuzz/tests/veldrisa-fuzz: deps
	$(call install_missing,$(FUZZ_PACKAGES))
	@CC=clang CXX=clang++ cmake -S . -B $(BUILD)-fuzz $(call generator,$(BUILD)-fuzz) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DVELDRISA_FUZZ=ON -DVELDRISA_WITH_SDL=OFF >/dev/null
	@cmake --build $(BUILD)-fuzz -j $(JOBS) --target veldrisa-fuzz

# Keys, modifiers and typed names thrown at the whole program; FUZZ_SECONDS bounds the run.
fuzz: $(BUILD)-fuzz/tests/veldrisa-fuzz
	@mkdir -p $(CURDIR)/$(BUILD)-fuzz/corpus
	$(BUILD)-fuzz/tests/veldrisa-fuzz -max_total_time=$(FUZZ_SECONDS) -max_len=4096 -print_final_stats=1 \
		$(CURDIR)/$(BUILD)-fuzz/corpus $(CURDIR)/tests/fuzz/corpus

fuzz-ci:
	$(MAKE) fuzz FUZZ_SECONDS=30
	$(MAKE) fuzz-protocol FUZZ_SECONDS=30

# The online tables' message parser, its seeds the protocol's client samples, one per file.
fuzz-protocol: deps
	$(call install_missing,$(FUZZ_PACKAGES))
	@CC=clang CXX=clang++ cmake -S . -B $(BUILD)-fuzz $(call generator,$(BUILD)-fuzz) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DVELDRISA_FUZZ=ON -DVELDRISA_WITH_SDL=OFF >/dev/null
	@cmake --build $(BUILD)-fuzz -j $(JOBS) --target veldrisa-protocol-fuzz
	@rm -rf $(BUILD)-fuzz/protocol-seeds && mkdir -p $(BUILD)-fuzz/protocol-seeds $(BUILD)-fuzz/protocol-corpus
	@split -l 1 tests/protocol/client_samples.jsonl $(BUILD)-fuzz/protocol-seeds/sample-
	$(BUILD)-fuzz/tests/veldrisa-protocol-fuzz -max_total_time=$(FUZZ_SECONDS) -max_len=8192 -print_final_stats=1 \
		$(CURDIR)/$(BUILD)-fuzz/protocol-corpus $(CURDIR)/$(BUILD)-fuzz/protocol-seeds

# Whole games by the hundred thousand, with the process's memory reported.
soak: build
	$(BUILD)/tests/veldrisa-soak $(SOAK_GAMES)

# The benchmark (README, "Benchmark"): a Release build, run on a virtual display since it
# starts the game itself; the keys reach the game through xdotool and XTest, a PulseAudio server
# of its own plays what the game says, and the espeak-ng program and speech-dispatcher are its
# references.
BENCH_PACKAGES := xdotool espeak-ng libxtst-dev libpulse-dev pulseaudio pulseaudio-utils speech-dispatcher
bench: deps
	$(call install_missing,$(BENCH_PACKAGES))
	@cmake -S . -B $(BUILD)-bench $(call generator,$(BUILD)-bench) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(BUILD)-bench -j $(JOBS) --target veldrisa-bench
	xvfb-run -a -s "-screen 0 1280x800x24" $(BUILD)-bench/bench/veldrisa-bench

# The server's benchmark (README, "The server's benchmark"): a Release build of the server and the
# bot, then bot processes filling more and more full tables at a human pace on loopback;
# BENCH_SERVER_ARGS passes options to the driver (e.g. "--steps 100,200 --duration 60").
BENCH_SERVER_ARGS ?=
bench-server: deps
	@cmake -S . -B $(BUILD)-bench $(call generator,$(BUILD)-bench) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(BUILD)-bench -j $(JOBS) --target veldrisa-server veldrisa-bot
	python3 bench/server_bench.py --server $(BUILD)-bench/veldrisa-server --bot $(BUILD)-bench/veldrisa-bot \
		$(BENCH_SERVER_ARGS)

# The Windows game, cross-built with MinGW-w64 as a 64-bit and a 32-bit build (the 32-bit one for
# the SAPI voices only 32-bit programs can load), packaged as a zip and an NSIS installer
# (README, "Windows"); `make windows-test` runs the tests under Wine, on a virtual display.
WINDOWS_PACKAGES := g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix googletest wine wine64 nsis xvfb \
	xauth xdotool sox imagemagick x11-xkb-utils unzip
WINDOWS_BUILD ?= $(BUILD)-windows
WINDOWS32_BUILD ?= $(BUILD)-windows32
WINESERVER = WINEPREFIX=$(CURDIR)/$(WINDOWS_BUILD)/wineprefix wineserver
WINDOWS_CONFIGURE = -DCMAKE_BUILD_TYPE=Release -DVELDRISA_LINUX_REPLAY=$(CURDIR)/$(BUILD)/veldrisa-replay \
	-DVELDRISA_WINE_PREFIX=$(CURDIR)/$(WINDOWS_BUILD)/wineprefix
windows: deps
	$(call install_missing,$(WINDOWS_PACKAGES))
	@cmake -S . -B $(WINDOWS32_BUILD) $(call generator,$(WINDOWS32_BUILD)) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake $(WINDOWS_CONFIGURE) >/dev/null
	@# The packages take the 32-bit game and check program; windows-test builds the rest where it runs.
	@cmake --build $(WINDOWS32_BUILD) -j $(JOBS) --target veldrisa sapi-check
	@cmake -S . -B $(WINDOWS_BUILD) $(call generator,$(WINDOWS_BUILD)) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake $(WINDOWS_CONFIGURE) \
		-DVELDRISA_WINDOWS32_BUILD=$(CURDIR)/$(WINDOWS32_BUILD) >/dev/null
	@cmake --build $(WINDOWS_BUILD) -j $(JOBS)
	cd $(WINDOWS_BUILD) && cpack -G "ZIP;NSIS"

# Wine runs 32-bit programs with Debian's i386 wine32, whose loader is a 32-bit Linux program: a
# kernel without 32-bit support (some virtual machines) cannot run it, and once installed there it
# would take the place of wine64 for every program. It is installed only where a 32-bit Linux
# program runs; its JACK library is the one SDL2_mixer's headers can share with it.
windows32-runner:
	@dpkg --print-foreign-architectures | grep -qx i386 || $(SUDO) dpkg --add-architecture i386
	$(call install_missing,libc6:i386)
	@if /lib/ld-linux.so.2 --version >/dev/null 2>&1; then \
		dpkg-query -W -f='$${Status}\n' wine32:i386 2>/dev/null | grep -q 'install ok installed' || \
		DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get -o DPkg::Lock::Timeout=900 install -y -qq wine32:i386 libjack-jackd2-dev; \
	else echo "This system cannot run 32-bit programs: the 32-bit Windows build is made and packaged, not tested."; fi

# The Linux replay tool is the reference the Windows ones are compared with. The 32-bit build
# runs its unit tests and the replay comparison (where Wine can run it); its window and packages
# are the 64-bit build's code, tested there.
windows-test: windows windows32-runner configure
	@cmake --build $(BUILD) -j $(JOBS) --target veldrisa-replay veldrisa-server veldrisa-bot
	@# Wine's server and services start here, with no test's output for theirs, and stay up until
	@# the tests end: started by a test, they would hold its output open, and ctest would wait for
	@# them as long as any other test runs. A new prefix is made whole here too, before the tests
	@# that share it start side by side: a window made while another test's first run still sets
	@# up the prefix's desktop fails. Its desktop is made on a display that closes after it, so
	@# that each window test's program makes it again on the test's own.
	@$(WINESERVER) -k 2>/dev/null || true
	mkdir -p $(WINDOWS_BUILD)/wineprefix && $(WINESERVER) -p </dev/null >/dev/null 2>&1
	cd $(WINDOWS_BUILD) && xvfb-run -a ./wine-run wineboot -i >/dev/null 2>&1
	@status=0; cd $(WINDOWS_BUILD) && ctest --output-on-failure -j $(JOBS) || status=$$?; \
	if [ $$status = 0 ] && /usr/lib/wine/wine --version >/dev/null 2>&1; then \
		cmake --build $(CURDIR)/$(WINDOWS32_BUILD) -j $(JOBS) && \
		cd $(CURDIR)/$(WINDOWS32_BUILD) && ctest --output-on-failure -j $(JOBS) -LE 64-bit-only || status=$$?; \
	elif [ $$status = 0 ]; then echo "32-bit Windows tests skipped: Wine cannot run 32-bit programs on this system."; fi; \
	$(WINESERVER) -k; exit $$status

clean:
	rm -rf $(BUILD) $(BUILD)-asan $(BUILD)-tsan $(BUILD)-fuzz $(WINDOWS_BUILD) $(WINDOWS32_BUILD)
