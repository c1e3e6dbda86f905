# Sourced by the comparison scripts. BuildSides BASE TARGET WORK builds TARGET
# of bench/revision twice under WORK: against the layers of revision BASE
# (WORK/build-base) and of the working tree (WORK/build-head).
BuildSides() {
  local base=$1 target=$2 work=$3
  local root side src
  root=$(git rev-parse --show-toplevel)
  mkdir "$work/base-src"
  git -C "$root" archive "$base" | tar -x -C "$work/base-src"
  local launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  for side in base head; do
    src=$root
    [ "$side" = base ] && src=$work/base-src
    cmake -S "$root/bench/revision" -B "$work/build-$side" -DKELVANE_SOURCE="$src" \
      "${launcher[@]}" >/dev/null
    cmake --build "$work/build-$side" -j "${JOBS:-2}" --target "$target" >/dev/null
  done
}
