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
# The game of each catalogue entry: tools/games/<folder>, built as <folder>.swf.
declare -A game_of=([101]=starpatrol [102]=echo [103]=blockpop [104]=bricks)

if [ ! -f "$games/starpatrol.swf" ]; then
  echo "The demo games are not built: Haxe is missing (scripts/install-deps.sh installs it)" >&2
  exit 1
fi

rm -rf "$program" "$site"
cmake --install "$build" --prefix "$program" > /dev/null

# The site: side panel pages, the update files and the games in the remote game folder.
mkdir -p "$site/gengxin"
cp tools/demo/site/*.htm tools/demo/site/style.css "$site/"
cp tools/demo/guihu.txt "$site/gengxin/guihu.txt"
"$catalogue_tool" tools/demo/catalogue.csv "$site/gengxin/db1.txt"
printf '1\r\n' > "$site/gengxin/gengxin.txt"
printf '1.0\r\n' > "$site/gengxin/update.txt"
remote_folder=swfs # characters 10, 11, 4 and 5 of the first value of guihu.txt
mkdir -p "$site/$remote_folder"
for id in $(tail -n +2 tools/demo/catalogue.csv | cut -d, -f1); do
  cp "$games/${game_of[$id]}.swf" "$site/$remote_folder/$id.swf"
done

# The installation: the catalogue, its state files, one game already downloaded and one game
# of the user's own in the favourites folder; the others download on their first click.
mkdir -p "$program/cons"
cp "$site/gengxin/db1.txt" "$program/cons/db1.mdb"
cp tools/demo/guihu.txt "$program/cons/guihu.inb"
cp "$site/gengxin/gengxin.txt" "$program/cons/gengxin.inb"
cp "$site/gengxin/update.txt" "$program/cons/update.inb"
cp "$site/$remote_folder/101.swf" "$program/res/velmora/101.swf"
cp "$games/bricks.swf" "$program/我的收藏/打砖块.swf"
echo "Demo installation in $program, demo site in $site"
