#!/bin/bash
# Runs clang-tidy (the checks in .clang-tidy) on the C++ files changed since
# the branch left main, on the files given, or with --all on every C++ file
# of src/ (as the test command does). Needs a build for its compile commands.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${TAV_BUILD_DIR:-$root/build}"
cd "$root"
if [ ! -f "$build/compile_commands.json" ]; then
    "$root/scripts/build.sh"
fi
all=0
if [ "${1:-}" = "--all" ]; then
    all=1
    mapfile -t files < <(git ls-files -- 'src/*.cpp' | grep -v '^src/platform/win')
elif [ $# -gt 0 ]; then
    files=("$@")
else
    base=$(git merge-base HEAD main 2>/dev/null || git rev-parse HEAD)
    mapfile -t files < <( (git diff --name-only --diff-filter=d "$base"; git diff --name-only --diff-filter=d) \
        | grep -E '^(src|tests|bench)/.*\.cpp$' | sort -u)
fi
[ ${#files[@]} -eq 0 ] && { echo "No changed C++ files."; exit 0; }

# A file found clean is not checked again while nothing it can see has
# changed: its own text, any header or build file of the folders it can
# include from, the checks, the compile commands, or any installed package
# (compilers, Qt). Code of src/ sees only src/.
folders=(src)
for f in "${files[@]}"; do
    [[ $f == src/* ]] || { folders+=(tests bench); break; }
done
clean="$build/tidy-clean"
mkdir -p "$clean"
context=$( {
    clang-tidy --version
    cat .clang-tidy "$build/compile_commands.json"
    find "${folders[@]}" -type f \( -name '*.h' -o -name 'CMakeLists.txt' \) -print0 | sort -z \
        | xargs -0 sha256sum
    dpkg-query -W -f='${Package} ${Version}\n'
} | sha256sum | cut -d' ' -f1)
pending=()
keys=()
for f in "${files[@]}"; do
    key=$( (echo "$context $f"; cat "$f") | sha256sum | cut -d' ' -f1)
    keys+=("$key")
    [ -e "$clean/$key" ] || pending+=("$f" "$clean/$key")
done
echo "clang-tidy: ${#files[@]} files, $((${#pending[@]} / 2)) to check, the rest unchanged since found clean"
# One file per process, as many as there are cores; any finding fails.
if [ ${#pending[@]} -gt 0 ]; then
    printf '%s\n' "${pending[@]}" | xargs -P "$(nproc)" -n 2 \
        sh -c 'clang-tidy --quiet -p "$0" "$1" && touch "$2"' "$build"
fi
# After a whole run only the verdicts on today's files are kept.
if [ "$all" = 1 ]; then
    printf '%s\n' "${keys[@]}" | sort >"$clean.keep"
    find "$clean" -type f -printf '%f\n' | sort | comm -23 - "$clean.keep" \
        | sed "s|^|$clean/|" | xargs -r rm -f
    rm -f "$clean.keep"
fi
