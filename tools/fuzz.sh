#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, ASan + UBSan) in build-fuzz/ and runs
# each for SECONDS (60 unless given), one after the other on one core: first the
# saved reproducers of fuzz/regressions/TARGET/, then the fuzzer on its corpus
# (build-fuzz/corpus/TARGET, kept between runs) and the seeds made from samples/,
# tests/data/ and tests/scenarios/. Fails when any target finds anything; the
# input is left in build-fuzz/findings/TARGET/.
#   tools/fuzz.sh [SECONDS] [TARGET...]     TARGET: undo_file editor_messages edit_script history
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(undo_file editor_messages edit_script history)

./tools/install-deps.sh clang-14 libclang-rt-14-dev
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++-14 \
  -DKELVANE_FUZZ=ON -DKELVANE_TESTS=OFF -DKELVANE_BENCH=OFF -DKELVANE_QT=OFF >/dev/null
cmake --build build-fuzz -j 2 --target "${targets[@]/#/fuzz_}"
rm -rf build-fuzz/seeds
python3 fuzz/make_seeds.py build-fuzz/seeds

# Inputs are kept small: the targets check every line after every message or
# step, and long inputs would turn into time-outs that say nothing new.
options=(-max_len=4096 -timeout=30 -rss_limit_mb=2048 -print_final_stats=1)
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1
passed=0
failed=0
for t in "${targets[@]}"; do
  bin=build-fuzz/fuzz/fuzz_$t
  mkdir -p "build-fuzz/corpus/$t" "build-fuzz/findings/$t"
  ok=true
  if compgen -G "fuzz/regressions/$t/*" >/dev/null; then
    echo "fuzz: $t: the saved reproducers"
    "$bin" "${options[@]}" fuzz/regressions/"$t"/* >"build-fuzz/findings/$t.regressions.log" 2>&1 || {
      echo "fuzz: $t: a saved reproducer fails again (build-fuzz/findings/$t.regressions.log):"
      tail -n 30 "build-fuzz/findings/$t.regressions.log"
      ok=false
    }
  fi
  echo "fuzz: $t for ${seconds}s"
  if ! "$bin" "${options[@]}" -max_total_time="$seconds" -artifact_prefix="build-fuzz/findings/$t/" \
      "build-fuzz/corpus/$t" "build-fuzz/seeds/$t" >"build-fuzz/findings/$t.log" 2>&1; then
    echo "fuzz: $t found something (build-fuzz/findings/$t.log):"
    tail -n 40 "build-fuzz/findings/$t.log"
    ok=false
  fi
  grep -E '^#[0-9]+.*(DONE|pulse)|^stat::' "build-fuzz/findings/$t.log" | tail -n 6 || true
  if $ok; then passed=$((passed + 1)); else failed=$((failed + 1)); fi
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
