#!/usr/bin/env bash
# The codec and file benchmarks of this tree next to those of a base commit,
# built and run in the same session, as ratios (this tree ÷ base; 1.00 means
# as fast). QX_BENCH_BASE names the base; by default the last commit before
# the document held a typed codeplug.
set -euo pipefail
cd "$(dirname "$0")/.."
base="${QX_BENCH_BASE:-2e04036}"
here="build/release/bench/qx_bench_image_files"
src="build/bench-base/src"
out="build/bench-base/build"

if ! git rev-parse --verify -q "$base^{commit}" >/dev/null; then
  echo "compare_with_base: no commit $base in this clone; skipped"
  exit 0
fi
if [ ! -d "$src" ]; then
  git worktree add --detach -f "$src" "$base" >/dev/null
fi
git -C "$src" checkout -q --detach "$base"
cmake -S "$src" -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$out" -j2 --target qx_bench_image_files >/dev/null

filter='EncodeAndDecodeImage|SaveAndOpenProject'
run() {
  "$1" --benchmark_filter="$filter" --benchmark_repetitions=7 \
       --benchmark_report_aggregates_only=true --benchmark_format=json 2>/dev/null
}
# Alternate the two builds so that a busy machine slows both alike.
run "$out/bench/qx_bench_image_files" > build/bench-base/base1.json
run "$here" > build/bench-base/here1.json
run "$out/bench/qx_bench_image_files" > build/bench-base/base2.json
run "$here" > build/bench-base/here2.json

python3 - build/bench-base <<'PY'
import json, sys, os
folder = sys.argv[1]
def medians(names):
    result = {}
    for name in names:
        for b in json.load(open(os.path.join(folder, name)))["benchmarks"]:
            if b.get("aggregate_name") == "median":
                result.setdefault(b["run_name"], []).append(b["cpu_time"])
    return {k: min(v) for k, v in result.items()}
base = medians(["base1.json", "base2.json"])
here = medians(["here1.json", "here2.json"])
print("benchmark                 base (ms)  this tree (ms)  ratio")
for name in sorted(base):
    if name in here:
        print(f"{name:24} {base[name]:10.3f} {here[name]:15.3f}  {here[name] / base[name]:5.2f}")
PY
