#!/usr/bin/env bash
# Machine checks that the program never crashes, hangs, leaks or cuts a log line:
#   asan      every test, built with AddressSanitizer and UndefinedBehaviorSanitizer (build-asan)
#   memcheck  the piped end-to-end tests with every run of the program under valgrind (build-hard)
#   fuzz      the libFuzzer target on the whole program for FUZZ_SECONDS seconds (build-fuzz)
# Usage: scripts/hardening.sh [asan] [memcheck] [fuzz]   (all three when none is named)
# Exits non-zero on any finding: a failed test, a sanitizer or memcheck report, a fuzzer crash,
# leak, timeout or out-of-memory. A fuzzer's failing input is kept in build-fuzz/artifacts/.
set -euo pipefail
# The steps run as conditions, where set -e does not hold: each checks its own commands.

cd "$(dirname "$0")/.."
ROOT=$(pwd)
JOBS=${JOBS:-$(nproc)}
FUZZ_SECONDS=${FUZZ_SECONDS:-60}
STEPS=("$@")
if [ ${#STEPS[@]} -eq 0 ]; then
    STEPS=(asan memcheck fuzz)
fi

WORK=$(mktemp -d "${TMPDIR:-/tmp}/registry-hardening-XXXXXX")
trap 'rm -rf "$WORK"' EXIT
FAILED=()

step() {
    printf '\n=== %s\n' "$*"
}

wants() {
    local step
    for step in "${STEPS[@]}"; do
        [ "$step" = "$1" ] && return 0
    done
    return 1
}

# clang 14 with libFuzzer and valgrind, from Debian's packages when missing.
ensure_tools() {
    local missing=()
    if wants fuzz; then
        command -v clang++-14 >/dev/null || missing+=(clang-14)
        compgen -G '/usr/lib/llvm-14/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a' >/dev/null ||
            missing+=(libclang-rt-14-dev)
    fi
    if wants memcheck; then
        command -v valgrind >/dev/null || missing+=(valgrind)
    fi
    if [ ${#missing[@]} -gt 0 ]; then
        step "Installing ${missing[*]}"
        apt-get update -qq
        DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
    fi
}

# Prints every non-empty report file under $1; true when there was none.
no_reports() {
    local found=0 file
    while IFS= read -r file; do
        printf -- '--- %s\n' "$file"
        cat "$file"
        found=1
    done < <(find "$1" -type f -size +0 | sort)
    [ "$found" -eq 0 ]
}

run_asan() {
    step "All tests under AddressSanitizer and UndefinedBehaviorSanitizer (build-asan)"
    cmake --preset asan -DREGISTRY_WERROR=ON >/dev/null || return 1
    cmake --build build-asan -j "$JOBS" || return 1
    local reports="$WORK/sanitizers"
    mkdir -p "$reports"
    # Reports go to files as well as failing the run, so that one met by a run whose
    # exit status no test looks at is still found.
    local status=0
    ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:exitcode=23:log_path=$reports/asan" \
        UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:exitcode=23:log_path=$reports/ubsan" \
        ctest --test-dir build-asan -j "$JOBS" --output-on-failure --timeout 900 || status=1
    if ! no_reports "$reports"; then
        echo "sanitizer reports above"
        status=1
    fi
    return "$status"
}

run_memcheck() {
    step "End-to-end tests with every run of the program under valgrind memcheck (build-hard)"
    cmake -S . -B build-hard -DREGISTRY_WERROR=ON >/dev/null || return 1
    cmake --build build-hard -j "$JOBS" --target registry registry_e2e_tests || return 1
    local logs="$WORK/memcheck"
    mkdir -p "$logs"
    # sync_with_stdio(false) gives the standard streams buffers that libstdc++ keeps for the
    # whole process and never frees; that is the library's design, not a leak of the program.
    cat >"$WORK/memcheck.supp" <<'EOF'
{
   standard stream buffers made by sync_with_stdio(false), kept for the whole process
   Memcheck:Leak
   match-leak-kinds: reachable
   fun:_Znam
   ...
   fun:_ZNSt8ios_base15sync_with_stdioEb
}
EOF
    local runner="valgrind --error-exitcode=99 --leak-check=full --show-leak-kinds=all"
    runner+=" --errors-for-leak-kinds=all -q --suppressions=$WORK/memcheck.supp"
    runner+=" --log-file=$logs/memcheck.%p.log"
    local status=0 shard pids=()
    for ((shard = 0; shard < JOBS; shard++)); do
        REGISTRY_RUNNER="$runner" GTEST_TOTAL_SHARDS="$JOBS" GTEST_SHARD_INDEX="$shard" \
            build-hard/tests/registry_e2e_tests >"$WORK/shard.$shard.txt" 2>&1 &
        pids+=($!)
    done
    for ((shard = 0; shard < JOBS; shard++)); do
        if ! wait "${pids[$shard]}"; then
            grep -E -A20 '^\[  FAILED  \]|Failure$' "$WORK/shard.$shard.txt" | head -200
            status=1
        fi
        grep -E '^\[  (PASSED|FAILED|SKIPPED) ' "$WORK/shard.$shard.txt" | sed "s/^/shard $shard: /"
    done
    if ! no_reports "$logs"; then
        echo "memcheck errors above"
        status=1
    fi
    echo "memcheck: $(find "$logs" -type f | wc -l) runs of the program checked"
    return "$status"
}

run_fuzz() {
    step "libFuzzer on the whole program for $FUZZ_SECONDS s (build-fuzz)"
    cmake --preset fuzz >/dev/null || return 1
    cmake --build --preset fuzz -j "$JOBS" || return 1
    local dir="$WORK/fuzz"
    mkdir -p "$dir/corpus" "$dir/tmp" "$dir/artifacts"
    # An allocation above max_allocation_size_mb fails, and the program meets std::bad_alloc;
    # the fuzzer's own limits stay above it, so only a real excess stops the run.
    local status=0
    TMPDIR="$dir/tmp" \
        ASAN_OPTIONS="allocator_may_return_null=1:max_allocation_size_mb=1024:halt_on_error=1:detect_leaks=1" \
        UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1" \
        build-fuzz/fuzz/registry_fuzzer -max_total_time="$FUZZ_SECONDS" -timeout=10 \
        -rss_limit_mb=2560 -malloc_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$dir/artifacts/" "$dir/corpus" "$ROOT/fuzz/corpus" \
        >"$dir/log.txt" 2>&1 || status=1
    grep -E '^(Done|stat::)' "$dir/log.txt" || true
    if [ -n "$(ls -A "$dir/artifacts")" ]; then
        status=1
    fi
    if [ "$status" -ne 0 ]; then
        grep -v -E '^#[0-9]+' "$dir/log.txt" | tail -80
        mkdir -p build-fuzz/artifacts
        cp "$dir/artifacts/"* build-fuzz/artifacts/ 2>/dev/null || true
        echo "failing inputs kept in build-fuzz/artifacts/:"
        ls -l build-fuzz/artifacts/
    fi
    return "$status"
}

ensure_tools
START=$SECONDS
for name in "${STEPS[@]}"; do
    case "$name" in
        asan | memcheck | fuzz) ;;
        *)
            echo "unknown step: $name (asan, memcheck, fuzz)" >&2
            exit 2
            ;;
    esac
    began=$SECONDS
    if "run_$name"; then
        echo "$name: clean ($((SECONDS - began)) s)"
    else
        echo "$name: FINDINGS ($((SECONDS - began)) s)"
        FAILED+=("$name")
    fi
done

step "Hardening done in $((SECONDS - START)) s"
if [ ${#FAILED[@]} -gt 0 ]; then
    echo "findings in: ${FAILED[*]}"
    exit 1
fi
echo "no findings"
