#!/usr/bin/env bash
# Runs the libFuzzer targets of a `fuzz` preset build, one after another, from
# the committed corpus with the dictionaries in fuzz/dict/. New inputs go to a
# work folder (the committed corpus is only read); a crash, leak, sanitizer
# report, time-out or broken invariant fails the run, and its input is kept
# in the work folder.
#
# Usage: scripts/fuzz-run.sh [-t SECONDS] [-w WORKDIR] [-b BUILDDIR] [TARGET...]
#   -t  seconds per target (default 20)
#   -w  work folder for new inputs and findings (default BUILDDIR/fuzz-work)
#   -b  build folder of the fuzz preset (default build/fuzz)
# Without TARGET names every fuzz/*_fuzz.cpp target runs.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=20
build=build/fuzz
work=""
while getopts "t:w:b:" option; do
  case "$option" in
    t) seconds="$OPTARG" ;;
    w) work="$OPTARG" ;;
    b) build="$OPTARG" ;;
    *) exit 2 ;;
  esac
done
shift $((OPTIND - 1))
work="${work:-$build/fuzz-work}"
mkdir -p "$work"

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for source in fuzz/*_fuzz.cpp; do
    targets+=("$(basename "$source" .cpp)")
  done
fi

# Leaks are still caught input by input; the sanitizer's own check at exit
# would only repeat that, and can take minutes on a busy machine.
export ASAN_OPTIONS="leak_check_at_exit=0${ASAN_OPTIONS:+:$ASAN_OPTIONS}"

# libFuzzer takes one dictionary: all of them, joined.
dict="$work/all.dict"
cat fuzz/dict/*.dict > "$dict"

failed=()
for target in "${targets[@]}"; do
  program="$build/fuzz/$target"
  if [ ! -x "$program" ]; then
    echo "missing $program: build the fuzz preset first" >&2
    exit 1
  fi
  mkdir -p "$work/$target"
  inputs=("$work/$target")
  if [ -d "fuzz/corpus/$target" ]; then
    inputs+=("fuzz/corpus/$target")
  fi
  echo "== $target (${seconds} s)"
  # The processor time the run got goes to <target>.time: on a shared
  # machine it can be far below the wall-clock time.
  TIMEFORMAT="cpu %U s user, %S s system, %R s wall"
  if { time "$program" -max_total_time="$seconds" -timeout=25 -dict="$dict" \
      -print_final_stats=1 -artifact_prefix="$work/$target-" "${inputs[@]}" \
      > "$work/$target.log" 2>&1; } 2> "$work/$target.time"; then
    cat "$work/$target.time"
    grep -E "^#[0-9]+[[:space:]]+(INITED|DONE)|stat::number_of_executed_units|stat::new_units_added" \
      "$work/$target.log" || true
  else
    tail -n 40 "$work/$target.log"
    failed+=("$target")
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "findings in: ${failed[*]} (inputs in $work)" >&2
  exit 1
fi
