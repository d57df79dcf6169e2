#!/usr/bin/env bash
# Makes the portable archive <product>-<version>-linux-<machine>.tar.gz: the program folder as
# the build installs it, with the operator's cons/ (catalogue, mirror file, version files).
# Usage: scripts/make-archive.sh <build dir> <cons folder> [<output folder>]
set -euo pipefail
if [ $# -lt 2 ] || [ $# -gt 3 ]; then
  echo "usage: $0 <build dir> <cons folder> [<output folder>]" >&2
  exit 2
fi
build=$(realpath "$1")
cons=$(realpath "$2")
out=$(realpath -m "${3:-.}")
# File names in the archive are UTF-8 whatever the caller's locale.
export LC_ALL=C.UTF-8

# The files that the operator's cons/ must hold, by the program's own names: a scratch program
# folder whose cons/ is the operator's.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
ln -s "$cons" "$scratch/cons"
eval "$("$build/tools/paths/velmora-paths" "$scratch" "$scratch/site")"
for f in "$local_catalogue" "$local_mirror_file" "$local_catalogue_version" "$local_program_version"; do
  if [ ! -s "$f" ]; then
    echo "$cons lacks ${f#"$scratch/cons/"}" >&2
    exit 1
  fi
done
# A box whose installed version differs from the one it is would fetch an update on its first run.
installed=$(head -n 1 "$local_program_version" | tr -d '\r' | cut -d, -f1)
if [ "$installed" != "$version" ]; then
  echo "${local_program_version#"$scratch/cons/"} in $cons says '$installed'; this program is version $version" >&2
  exit 1
fi

mkdir -p "$out"
cmake --build "$build"
cpack --config "$build/CPackConfig.cmake" -B "$out" -D "CPACK_INSTALLED_DIRECTORIES=$cons;cons" > /dev/null
rm -rf "$out/_CPack_Packages"
echo "$out/$product-$version-linux-$(uname -m).tar.gz"
