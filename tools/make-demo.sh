#!/bin/sh
# Builds a demo folder to run the desktop program from (tools/screenshot.sh does):
#
#   demo/Media/       a real folder tree with tagged MP3 files and a few documents, ready to be cataloged
#   demo/Catalogs/    catalog files of six generated volumes, plus "Music" made from demo/Media when
#                     quillon-cli can catalog
#   demo/Help/        the user guide, so Help > Contents works
#   demo/quillon.ini  a settings file past the first start, with the catalog folder ./Catalogs/
#
# usage: tools/make-demo.sh [PRESET] [DEMO_DIR]     (defaults: release, demo)
# The preset's build folder is used, and the two helper programs are built there first when missing.
set -eu

preset=${1:-release}
root=$(cd "$(dirname "$0")/.." && pwd)
demo=${2:-$root/demo}
build=$root/build/$preset
gencatalogs=$build/bench/quillon-gencatalogs
cli=$build/src/cli/quillon-cli

if [ ! -x "$gencatalogs" ] || [ ! -x "$cli" ]; then
    echo "Building quillon-gencatalogs and quillon-cli ($preset)..."
    (cd "$root" && cmake --preset "$preset" >/dev/null &&
        cmake --build --preset "$preset" -j2 --target quillon-gencatalogs quillon-cli)
fi

# Only the parts this script makes are replaced; anything else in the folder is left alone.
rm -rf "$demo/Media" "$demo/Catalogs" "$demo/Help"
mkdir -p "$demo/Media" "$demo/Catalogs" "$demo/Help"

python3 "$root/tools/make-mp3s.py" "$demo/Media/Music"
mkdir -p "$demo/Media/Documents/Letters" "$demo/Media/Photos/2024 Summer"
printf 'Shopping list\r\n- bread\r\n- milk\r\n' >"$demo/Media/Documents/list.txt"
printf 'Dear Ann,\r\nthe discs are on the second shelf.\r\n' >"$demo/Media/Documents/Letters/ann.txt"
for n in 1 2 3 4 5; do
    head -c $((n * 150000)) /dev/zero >"$demo/Media/Photos/2024 Summer/IMG_000$n.jpg"
done

"$gencatalogs" "$demo/Catalogs" --volumes 6 --files 4000 --folders 300

# Cataloging needs the volume scanner; a build without it only has the generated volumes.
if "$cli" 2>&1 | grep -q '^  catalog '; then
    "$cli" --catalogs "$demo/Catalogs" catalog "$demo/Media" --name Music --replace
else
    echo "quillon-cli of this build cannot catalog; demo/Media is left for New Catalog in the program."
fi

cp "$root/Help/help.html" "$demo/Help/help.html"

cat >"$demo/quillon.ini" <<'INI'
[General]
FirstStart=0
CatalogFolder=./Catalogs/
AutoOpen=1
AskForLast=1
[View]
LV_ViewStyle=3
SLV_ViewStyle=3
StdBar=1
PathBar=1
AutoAdjust=1
INI

echo "Demo ready in $demo:"
"$cli" --catalogs "$demo/Catalogs" volumes
