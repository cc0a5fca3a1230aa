#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer into build-fuzz/ and runs each for a while.
#
#   scripts/fuzz.sh [SECONDS] [FUZZER...]     (default: 600 seconds, every fuzzer)
#
# Each fuzzer starts from seeds made from examples/ and tests/data/ and from
# its committed corpus fuzz/corpus/NAME/ (inputs that once found a fault);
# what it learns stays in build-fuzz/corpus/NAME/ for the next run. A finding
# stops the script; the input is left in build-fuzz/findings/.
source "$(dirname "$0")/setup.sh"
TARNIK_FUZZ_BUILD="${TARNIK_FUZZ_BUILD:-$TARNIK_ROOT/build-fuzz}"
SECONDS_EACH="${1:-600}"
shift || true
FUZZERS=("$@")
[ ${#FUZZERS[@]} -gt 0 ] || FUZZERS=(ProgramFuzzer EvaluatorFuzzer FormatLineFuzzer DecodeSourceFuzzer)

tarnik_install_missing clang libclang-rt-14-dev
CC=clang CXX=clang++ cmake -S "$TARNIK_ROOT" -B "$TARNIK_FUZZ_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTARNIK_FUZZ=ON -DTARNIK_SANITIZE=ON -DTARNIK_BUILD_GUI=OFF -DBUILD_TESTING=OFF \
    -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON
cmake --build "$TARNIK_FUZZ_BUILD" --target tarnik_fuzzers

# Stores standard input as a seed of corpus directory $1, named by its content.
seed() {
    local file
    file="$(mktemp)"
    cat > "$file"
    mv "$file" "$1/$(sha1sum < "$file" | cut -c1-40)"
}

# Every non-empty line of the program files, without its line end.
program_lines() {
    cat "$@" | tr -d '\r' | grep -v '^ *$'
}

make_seeds() {
    local corpus="$TARNIK_FUZZ_BUILD/corpus" file line
    mkdir -p "$corpus"/{ProgramFuzzer,EvaluatorFuzzer,FormatLineFuzzer,DecodeSourceFuzzer}
    for file in "$TARNIK_ROOT"/examples/*.bas "$TARNIK_ROOT"/tests/data/*.bas; do
        # A program, a NUL byte, then its INPUT answers.
        { cat "$file"; [ -f "${file%.bas}.in" ] && printf '\0' && cat "${file%.bas}.in"; true; } |
            seed "$corpus/ProgramFuzzer"
        seed "$corpus/DecodeSourceFuzzer" < "$file"
    done
    while IFS= read -r line; do
        printf '%s' "$line" | seed "$corpus/EvaluatorFuzzer"
        printf '%s' "$line" | seed "$corpus/FormatLineFuzzer"
    done < <(program_lines "$TARNIK_ROOT"/examples/*.bas)
}

# The fuzzer's own output goes to build-fuzz/logs/NAME.log; only its summary,
# or on a finding the end of the log with the report, is shown.
run_fuzzer() {
    local name="$1" committed="$TARNIK_ROOT/fuzz/corpus/$1" options=()
    local log="$TARNIK_FUZZ_BUILD/logs/$name.log"
    mkdir -p "$TARNIK_FUZZ_BUILD/findings" "$TARNIK_FUZZ_BUILD/logs"
    [ -d "$committed" ] || committed=""
    [ "$name" = DecodeSourceFuzzer ] || options+=("-dict=$TARNIK_ROOT/fuzz/basic.dict")
    echo "== $name for $SECONDS_EACH s (log: $log)"
    # -timeout: one input running longer than this is a hang.
    if ! "$TARNIK_FUZZ_BUILD/bin/$name" -max_total_time="$SECONDS_EACH" -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$TARNIK_FUZZ_BUILD/findings/$name-" "${options[@]}" \
        "$TARNIK_FUZZ_BUILD/corpus/$name" ${committed:+"$committed"} > "$log" 2>&1; then
        tail -n 80 "$log"
        echo "$name found a fault; the input is in $TARNIK_FUZZ_BUILD/findings/" >&2
        return 1
    fi
    grep -E '^(Done|stat::)' "$log"
}

make_seeds
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
for name in "${FUZZERS[@]}"; do
    run_fuzzer "$name"
done
