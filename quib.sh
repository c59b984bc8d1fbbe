#!/usr/bin/env bash
# Sets up a Debian 12 machine for Quib, builds it, and runs the application or the test suite.
#   ./quib.sh run [ARGS...]   install what is missing, build, start the application
#   ./quib.sh test            install what is missing, build, run the whole test suite
#   ./quib.sh build           install what is missing, build
#   ./quib.sh sanitize        the engine with AddressSanitizer and UndefinedBehaviorSanitizer (clang):
#                             its tests once, then every fuzz target for QUIB_FUZZ_SECONDS (30) each
#   ./quib.sh ratio           non-blank lines of the tests against those of the code they test, with the
#                             line coverage of src/ from the last `coverage` run
#   ./quib.sh coverage        build with line counters (build-coverage), run the suite, measure src/
#   ./quib.sh format-check    clang-format check of the C++ files changed since the tree was formatted
set -euo pipefail
cd "$(dirname "$0")"

BUILD_DIR=${QUIB_BUILD_DIR:-build}
PACKAGES=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev libgl-dev zlib1g-dev libdeflate-dev libpng-dev libjpeg-dev libgif-dev
  libx11-dev libxext-dev libxfixes-dev libxtst-dev libxcursor-dev
  libxcb1-dev libxcb-shm0-dev libxcb-xfixes0-dev libxcb-keysyms1-dev libxcb-xkb-dev libxcb-xinput-dev libx11-xcb-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb openbox x11-apps xauth qpdf poppler-utils fonts-dejavu-core qt6-translations-l10n
  libpipewire-0.3-dev pipewire pipewire-bin wireplumber xdg-desktop-portal dbus-daemon
  clang libclang-rt-14-dev
  libwebp-dev webp chromium python3-pil gcovr clang-format
  g++-mingw-w64-x86-64-win32 libz-mingw-w64-dev wine wine64
)

install_missing() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

build() {
  install_missing
  cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$BUILD_DIR" -j "$(nproc)"
}

sanitize() {
  install_missing
  local dir=${QUIB_SANITIZE_BUILD_DIR:-build-sanitize} seconds=${QUIB_FUZZ_SECONDS:-30}
  CC=clang CXX=clang++ cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUIB_ENGINE_ONLY=ON \
    -DQUIB_SANITIZE=ON -DQUIB_FUZZ=ON -DQUIB_BUILD_BENCHMARKS=OFF >/dev/null
  # Leaks are not checked: Qt and fontconfig keep caches for the life of the process.
  export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  cmake --build "$dir" -j "$(nproc)"
  (cd "$dir" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 600 -j "$(nproc)")
  local name
  while read -r name; do
    mkdir -p "$dir/fuzz/found/$name"
    echo "Fuzzing $name for ${seconds}s"
    if ! QT_QPA_PLATFORM=offscreen "$dir/fuzz/$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -artifact_prefix="$dir/fuzz/found/$name-" "$dir/fuzz/found/$name" "$dir/fuzz/corpus/$name" \
      </dev/null >"$dir/fuzz/found/$name.log" 2>&1; then
      tail -n 40 "$dir/fuzz/found/$name.log"
      echo "$name found a fault; the input is in $dir/fuzz/found" >&2
      exit 1
    fi
    tail -n 1 "$dir/fuzz/found/$name.log"
  done <"$dir/fuzz/fuzzers.txt"
}

COVERAGE_DIR=${QUIB_COVERAGE_BUILD_DIR:-build-coverage}

coverage() {
  install_missing
  cmake -S . -B "$COVERAGE_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUIB_COVERAGE=ON \
    -DQUIB_BUILD_BENCHMARKS=OFF >/dev/null
  cmake --build "$COVERAGE_DIR" -j "$(nproc)"
  find "$COVERAGE_DIR" -name '*.gcda' -delete
  # A failing test still counts the lines it ran; the figure is what matters here.
  (cd "$COVERAGE_DIR" && QT_QPA_PLATFORM=offscreen ctest --timeout 600 -j "$(nproc)" >ctest.log) || true
  gcovr --root . --filter 'src/' --gcov-ignore-parse-errors --print-summary --txt "$COVERAGE_DIR/coverage.txt" \
    "$COVERAGE_DIR" | tee "$COVERAGE_DIR/coverage-summary.txt"
}

# The tree was formatted as a whole in this commit; later changes keep to the style.
FORMAT_BASE=2285b307e1e61fd204ccf8f48547c7424d7591e3

format_check() {
  install_missing
  local files
  if git cat-file -e "$FORMAT_BASE^{commit}" 2>/dev/null; then
    files=$(git diff --name-only --diff-filter=d "$FORMAT_BASE" -- '*.cpp' '*.h' '*.cc')
  else
    files=$(git ls-files '*.cpp' '*.h' '*.cc')
  fi
  [ -z "$files" ] && return 0
  # shellcheck disable=SC2086
  clang-format --dry-run --Werror $files
}

cmd=${1:-run}
shift || true
case "$cmd" in
  build)
    build ;;
  sanitize)
    sanitize ;;
  test)
    build
    cd "$BUILD_DIR"
    QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 300 -j "$(nproc)" "$@" ;;
  run)
    build
    if [ -x "$BUILD_DIR/app/quib" ]; then
      exec "$BUILD_DIR/app/quib" "$@"
    else
      exec "$BUILD_DIR/cli/quib-cli" info "${@:-resources/samples/demo.qbk}"
    fi ;;
  ratio)
    count() { find "$@" -type f \( -name '*.cpp' -o -name '*.h' \) -exec cat {} + | grep -cv '^[[:space:]]*$'; }
    tests=$(count tests)
    code=$(count src app cli player filters)
    awk -v t="$tests" -v c="$code" 'BEGIN { printf "tests %d, code %d, ratio %.2f (aim 0.25-0.33)\n", t, c, t / c }'
    if [ -f "$COVERAGE_DIR/coverage-summary.txt" ]; then
      echo "coverage of src/ at the last './quib.sh coverage': $(grep '^lines' "$COVERAGE_DIR/coverage-summary.txt")"
    else
      echo "coverage of src/: not measured yet, run './quib.sh coverage'"
    fi ;;
  coverage)
    coverage ;;
  format-check)
    format_check ;;
  *)
    echo "usage: $0 run|test|build|sanitize|ratio|coverage|format-check [ARGS...]" >&2
    exit 2 ;;
esac
