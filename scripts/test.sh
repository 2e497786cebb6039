#!/usr/bin/env bash
# The test command: installs what is needed, then runs the suite twice under
# a virtual X display with Mesa's software OpenGL: first the normal build
# with warnings as errors, then a clang build with AddressSanitizer and
# UndefinedBehaviorSanitizer (which also builds the fuzz targets), and last
# each fuzz target of our own code for 45 seconds. Exits non-zero when any
# pass fails; every pass runs even when an earlier one failed.
set -euo pipefail
cd "$(dirname "$0")/.."

# Each step's time, so that a slow run shows where its minutes went.
step_started=$SECONDS
step_done() {
  echo "== $1 took $((SECONDS - step_started)) s"
  step_started=$SECONDS
}

scripts/setup.sh
step_done "setup"

build=${KORVALITH_BUILD_DIR:-build}
# Optimised without debug information: two full builds on two cores are
# most of the run's time, and debug information roughly doubles the link
# work. -O2 rather than Release's -O3, whose inlining makes GCC 12 report
# overlaps in std::string assignments that cannot happen.
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release "-DCMAKE_CXX_FLAGS_RELEASE=-O2 -DNDEBUG" \
  -DKORVALITH_WERROR=ON
cmake --build "$build" --parallel "$(nproc)"
step_done "build"

export QT_QPA_PLATFORM=xcb
export LIBGL_ALWAYS_SOFTWARE=1
export GALLIUM_DRIVER=llvmpipe
export QT_LOGGING_RULES="qt.multimedia*=false"
# A display number of our own: several xvfb-run -a started at once on one
# machine can pick the same number, and the loser's clients then reach the
# other server without its cookie.
display_from=$((100 + RANDOM % 800))
# Runs a command on a virtual display once the server answers: a test that
# starts while the server is still coming up cannot connect to it. Without
# -noreset the server resets each time its last client leaves, and a test
# that connects during the reset is refused (about one connection in twenty
# when two short tests start and stop at once).
on_display() {
  xvfb-run -a -n "$display_from" -s "-screen 0 1280x1024x24 -noreset" sh -c '
    tries=50
    until xdpyinfo >/dev/null 2>&1 || [ $tries -eq 0 ]; do tries=$((tries - 1)); sleep 0.1; done
    exec "$@"' on_display "$@"
}
status=0
on_display ctest --test-dir "$build" --output-on-failure --parallel "$(nproc)" --timeout 300 || status=$?
step_done "tests"

# Second pass: the same tests with the sanitizers; the first report ends
# the test with its stack. Leaks are left to the fuzzers, which check each
# input alone: the toolkit and Mesa keep allocations to the end of a run.
asan=${KORVALITH_ASAN_BUILD_DIR:-build-asan}
# Warnings are already errors in the first pass; this one looks for faults
# at run time, so a warning only clang knows does not stop it.
# Line tables are all a sanitizer report needs for its stack.
CC=clang CXX=clang++ cmake -S . -B "$asan" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -gline-tables-only -DNDEBUG" \
  "-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O2 -gline-tables-only -DNDEBUG" \
  -DKORVALITH_SANITIZE=ON -DKORVALITH_FUZZ=ON -DKORVALITH_BENCH=OFF
cmake --build "$asan" --parallel "$(nproc)"
step_done "sanitizer build"
ASAN_OPTIONS=halt_on_error=1:print_stacktrace=1:detect_leaks=0 \
UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
on_display ctest --test-dir "$asan" --output-on-failure --parallel "$(nproc)" --timeout 600 || status=$?
step_done "sanitizer tests"

# Last: each own-code fuzz target for 45 seconds, two at a time.
scripts/fuzz.sh -t 45 -b "$asan" -j 2 || status=$?
step_done "fuzzing"
exit $status
