# Top-level entry points: `make run` and `make test` each install what is
# missing, configure, build, and then run.

BUILD_DIR  ?= build
BUILD_TYPE ?= Release
SANITIZE   ?= OFF
TSAN       ?= OFF
JOBS       ?= $(shell nproc 2>/dev/null || echo 2)

PACKAGES := build-essential cmake ninja-build pkg-config \
            qt6-base-dev qt6-base-dev-tools qt6-charts-dev qt6-svg-dev libqt6opengl6-dev qt6-translations-l10n libgl-dev \
            libgtest-dev libgmock-dev libbenchmark-dev libsuitesparse-dev \
            xvfb xauth fonts-dejavu-core desktop-file-utils shared-mime-info \
            parallel slurm-wlm munge

RUN_DIR     := $(BUILD_DIR)/run
RUN_EXAMPLE ?= examples/pi_current_loop.dvn

.PHONY: all deps configure build run test bench gallery asan tsan fuzz clean

all: build

# Installs only what is missing; `apt-get update` first, because a fresh
# machine has empty package lists.
deps:
	@missing=""; \
	for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  if [ "$$(id -u)" -ne 0 ]; then \
	    echo "Missing packages:$$missing"; \
	    echo "Install them as root with:"; \
	    echo "  apt-get update && apt-get install -y$$missing"; \
	    exit 1; \
	  fi; \
	  echo "Installing:$$missing"; \
	  apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $$missing; \
	fi

$(BUILD_DIR)/build.ninja: | deps
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DQUENTOR_SANITIZE=$(SANITIZE) -DQUENTOR_TSAN=$(TSAN)

configure: deps $(BUILD_DIR)/build.ninja

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@mkdir -p $(RUN_DIR)
	$(BUILD_DIR)/quentor-sim --out $(RUN_DIR) $(RUN_EXAMPLE)
	QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/vielo --export $(RUN_DIR)/plot.png --size 900x500 $(RUN_DIR)/graf.grp
	@echo "Results in $(RUN_DIR)/: graf.dat (every solved quantity), graf.grp (plotter inputs),"
	@echo "debug.txt (the assembled matrices), plot.png (the plot)."

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: build
	$(BUILD_DIR)/quentor-bench

gallery: build
	QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/quentor-gallery $(BUILD_DIR)/gallery.png
	@echo "Gallery: $(BUILD_DIR)/gallery.png"

# Sanitizer build in its own directory: make asan
asan:
	$(MAKE) test BUILD_DIR=build-asan BUILD_TYPE=Debug SANITIZE=ON

# ThreadSanitizer build in its own directory: make tsan
tsan:
	$(MAKE) test BUILD_DIR=build-tsan BUILD_TYPE=RelWithDebInfo TSAN=ON

# Fuzzing with libFuzzer (clang) in its own directory, each target for
# FUZZ_SECONDS: make fuzz FUZZ_SECONDS=1800. New inputs collect in
# build-fuzz/corpus-TARGET; crashes are written into build-fuzz/.
FUZZ_SECONDS ?= 60
FUZZ_TARGETS := schematic database value grp
FUZZ_PACKAGES := clang libclang-rt-14-dev

fuzz:
	@$(MAKE) deps PACKAGES="$(PACKAGES) $(FUZZ_PACKAGES)"
	CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUENTOR_FUZZ=ON -DQUENTOR_GUI=OFF
	cmake --build build-fuzz -j $(JOBS) $(addprefix --target fuzz-,$(FUZZ_TARGETS))
	@for t in $(FUZZ_TARGETS); do \
	  mkdir -p build-fuzz/corpus-$$t; \
	  echo "fuzzing $$t for $(FUZZ_SECONDS) s"; \
	  (cd build-fuzz && ./fuzz-$$t -max_total_time=$(FUZZ_SECONDS) -timeout=10 -rss_limit_mb=4096 \
	     -print_final_stats=1 corpus-$$t $$(cat fuzz-$$t.seeds)) || exit 1; \
	done

clean:
	rm -rf $(BUILD_DIR)
