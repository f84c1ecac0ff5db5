#!/usr/bin/env bash
# Builds every libFuzzer target with clang in build-fuzz and runs each one
# for $FUZZ_SECONDS (default 60), starting from fuzz/corpus/<target> and with
# fuzz/dict/<target>.dict when they exist. Exits non-zero when a target
# crashes, leaks or trips a sanitizer.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-fuzz
seconds=${FUZZ_SECONDS:-60}

flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer -g"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DMURAX_FUZZ=ON -DMURAX_BUILD_TESTS=OFF -DMURAX_BUILD_BENCH=OFF \
  "-DCMAKE_C_FLAGS=$flags" "-DCMAKE_CXX_FLAGS=$flags" >/dev/null
cmake --build "$build" -j2 --target murax_fuzzers

mkdir -p "$build/fuzz-artifacts"
status=0
while read -r name exe; do
  [ -n "$name" ] || continue
  # New inputs go to a scratch corpus so the committed seeds stay as they are.
  scratch=$(mktemp -d)
  seeds=()
  [ -d "$root/fuzz/corpus/$name" ] && seeds=("$root/fuzz/corpus/$name")
  # A dictionary of the tokens a target's input format knows, when it has one.
  dict=()
  [ -f "$root/fuzz/dict/$name.dict" ] && dict=("-dict=$root/fuzz/dict/$name.dict")
  echo "fuzz: $name for ${seconds}s"
  if "$exe" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=3072 "${dict[@]}" \
      -artifact_prefix="$build/fuzz-artifacts/$name-" -print_final_stats=1 \
      "$scratch" "${seeds[@]}" 2>"$build/fuzz-$name.log"; then
    echo "fuzz: $name passed ($(grep -E '^stat::number_of_executed_units' "$build/fuzz-$name.log" | awk '{print $2}') runs)"
  else
    tail -n 60 "$build/fuzz-$name.log"
    echo "fuzz: $name FAILED (artifacts in $build/fuzz-artifacts)"
    status=1
  fi
  rm -rf "$scratch"
done <"$build/fuzz/fuzzers.txt"
exit $status
