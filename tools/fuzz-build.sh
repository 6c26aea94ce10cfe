# Sourced by the fuzz scripts: configures build-fuzz/ with clang, libFuzzer, AddressSanitizer
# and UndefinedBehaviorSanitizer, and builds the fuzz targets named.
#   . tools/fuzz-build.sh; fuzz_build "$root" target...
fuzz_build() {
    local root=$1
    shift
    "$root/tools/install-deps.sh"
    local flags="-O1 -gline-tables-only -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
    cmake -S "$root" -B "$root/build-fuzz" -G Ninja -DCMAKE_BUILD_TYPE=Fuzz \
        -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
        -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
        -DCMAKE_SHARED_LINKER_FLAGS="-fsanitize=address,undefined" \
        -DVASORA_FUZZ=ON -DVASORA_BENCH=OFF >/dev/null
    cmake --build "$root/build-fuzz" -j 2 --target "$@"
}
