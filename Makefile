# Herbaxis: `make run` builds and starts the program on the sample working folder;
# `make test` builds and runs every test.

BUILD ?= build
JOBS ?= 2
PACKAGES = cmake g++ make qt6-base-dev qt6-image-formats-plugins libsqlite3-dev ccache
SAMPLE = sample-folder

.PHONY: all deps configure build run test sanitize bench clean

all: build

deps:
	@missing=$$(for p in $(PACKAGES); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  if [ "$$(id -u)" = 0 ]; then \
	    echo "Installing:" $$missing; \
	    DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $$missing \
	      || { apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $$missing; }; \
	  else \
	    echo "Herbaxis needs these Debian packages. Install them with:"; \
	    echo "  sudo apt-get install -y" $$missing; \
	    exit 1; \
	  fi; \
	fi

# Extra CMake options, e.g. CMAKE_FLAGS="-DHERBAXIS_WERROR=ON -DHERBAXIS_HEADER_CHECK=ON" (as CI builds).
CMAKE_FLAGS ?=

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS) > $(BUILD).configure.log 2>&1 \
	  || { cat $(BUILD).configure.log; exit 1; }

build: configure
	cmake --build $(BUILD) -j$(JOBS)

# The sample folder is copied once from the build; after that it is the user's, and never overwritten.
run:
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	  echo "herbaxis: no display (DISPLAY and WAYLAND_DISPLAY are unset): run it in a desktop session, or under xvfb-run."; \
	  exit 1; \
	fi
	@$(MAKE) --no-print-directory build
	@if [ ! -e $(SAMPLE) ]; then cp -r $(BUILD)/sample-folder $(SAMPLE) && echo "Created the sample working folder $(SAMPLE)/"; fi
	cd $(SAMPLE) && "$(CURDIR)/$(BUILD)/herbaxis"

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)

# The tests once more under the address and undefined-behaviour sanitizers (a separate build).
sanitize: deps
	cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DHERBAXIS_SANITIZE=ON $(CMAKE_FLAGS)
	cmake --build build-asan -j$(JOBS)
	cd build-asan && ASAN_OPTIONS=detect_leaks=0 QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)

# Speed on a generated large database (see bench/README.md): `make bench` on M, `make bench SIZE=L`
# on L, `ONLY=chart` for some operations. Each folder is generated once and reused; delete
# $(BUILD)/bench-$(SIZE) to generate it again.
SIZE ?= M
ONLY ?=
bench: build
	@if [ ! -e $(BUILD)/bench-$(SIZE)/Herbaxis.sqlite ]; then "$(BUILD)/herbaxis-gen" $(SIZE) $(BUILD)/bench-$(SIZE); fi
	"$(BUILD)/herbaxis-bench" $(BUILD)/bench-$(SIZE) --json $(BUILD)/bench-$(SIZE).json $(if $(ONLY),--only $(ONLY))

# Every build folder: the normal one, the sanitizer build and any other build-* folder.
clean:
	rm -rf $(BUILD) $(BUILD).configure.log build build-* build.configure.log
