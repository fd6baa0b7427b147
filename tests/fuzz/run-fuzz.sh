#!/usr/bin/env bash
# Runs one libFuzzer target for a few seconds: run-fuzz.sh BINARY WORK_CORPUS SEED_CORPUS SECONDS
set -eu
bin=$1 work=$2 seeds=$3 seconds=$4
if [ ! -x "$bin" ]; then
  echo "fuzz target $bin was not built (no clang): skipped"
  exit 0
fi
mkdir -p "$work"
args=("$work")
[ -d "$seeds" ] && args+=("$seeds")
exec "$bin" -artifact_prefix="$work/" -max_total_time="$seconds" -rss_limit_mb=2048 -max_len=65536 -print_final_stats=1 "${args[@]}"
