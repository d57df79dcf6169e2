#!/usr/bin/env bash
# Assembles a demo installation (program folder) and a demo web site from a build folder.
# Usage: scripts/make-demo.sh <build dir> <demo dir>
set -euo pipefail
cd "$(dirname "$0")/.."
build=$1
demo=$2
program="$demo/program"
site="$demo/site"
catalogue_tool="$build/tools/catalogue/velmora-catalogue"
games="$build/tools/games"
make_update="$build/tools/update/velmora-make-update"
# The game of each catalogue entry: tools/games/<folder>, built as <folder>.swf.
declare -A game_of=([101]=starpatrol [102]=echo [103]=blockpop [104]=bricks)

if [ ! -f "$games/starpatrol.swf" ]; then
  echo "The demo games are not built: Haxe is missing (scripts/install-deps.sh installs it)" >&2
  exit 1
fi

rm -rf "$program" "$site"
cmake --install "$build" --prefix "$program" > /dev/null
# The program's version, and where the program and the site keep their files (local_* and
# site_* variables).
eval "$("$build/tools/paths/velmora-paths" "$program" "$site" tools/demo/guihu.txt)"
for f in "$site_mirror_file" "$site_catalogue" "$site_catalogue_version" "$site_program_version" \
  "$local_catalogue" "$local_mirror_file" "$local_catalogue_version" "$local_program_version"; do
  mkdir -p "$(dirname "$f")"
done
mkdir -p "$site_games" "$local_games" "$local_favourites"

# The site: side panel pages, the update files and the games in the remote game folder.
cp tools/demo/site/*.htm tools/demo/site/style.css "$site/"
cp tools/demo/guihu.txt "$site_mirror_file"
"$catalogue_tool" tools/demo/catalogue.csv "$site_catalogue"
printf '1\r\n' > "$site_catalogue_version"
printf '%s\r\n' "$version" > "$site_program_version"
for id in $(tail -n +2 tools/demo/catalogue.csv | cut -d, -f1); do
  cp "$games/${game_of[$id]}.swf" "$site_games/$id.swf"
done
# The update program of this very version, signed with the demo key that a box built for the
# demo site trusts; it runs once gengxin/update.txt offers another version (see README).
"$make_update" "$program" tools/demo/update-demo.key "$site_update_program" > /dev/null

# The installation: the catalogue, its state files, one game already downloaded and one game
# of the user's own in the favourites folder; the others download on their first click.
cp "$site_catalogue" "$local_catalogue"
cp tools/demo/guihu.txt "$local_mirror_file"
cp "$site_catalogue_version" "$local_catalogue_version"
cp "$site_program_version" "$local_program_version"
cp "$site_games/101.swf" "$local_games/101.swf"
cp "$games/bricks.swf" "$local_favourites/打砖块.swf"
echo "Demo installation in $program, demo site in $site"
