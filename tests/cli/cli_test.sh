#!/usr/bin/env bash
# End-to-end checks of quillon-cli: catalog a small tree, then list, search and match through the commands,
# checking output and exit status as a script would rely on them.
#   cli_test.sh PATH_TO_QUILLON_CLI
set -u
cli=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
passes=0

check() {  # check NAME EXPECTED ACTUAL
    if [ "$2" == "$3" ]; then
        passes=$((passes + 1))
    else
        failures=$((failures + 1))
        printf 'FAIL %s\n  expected: %s\n  actual:   %s\n' "$1" "$2" "$3"
    fi
}

q() { "$cli" --catalogs "$work/Catalogs" "$@"; }

mkdir -p "$work/src/Music/Rock" "$work/src/Docs"
printf 'ID3\x03\x00\x00\x00\x00\x00\x1eTPE1\x00\x00\x00\x05\x00\x00\x00BandTIT2\x00\x00\x00\x05\x00\x00\x00Song' \
    > "$work/src/Music/Rock/01.MP3"
head -c 1025 /dev/zero > "$work/src/Docs/notes.txt"
: > "$work/src/Docs/empty.txt"
touch -d '2003-05-17 14:03:08' "$work/src/Docs/notes.txt"

check "catalog prints counts" "3 folders, 3 files" "$(q catalog "$work/src" --name 'AC/DC' 2>/dev/null)"
check "catalog file name is escaped" "AC~47DC.qvl" "$(ls "$work/Catalogs")"
q catalog "$work/src" --name 'ac/dc' >/dev/null 2>"$work/err"
check "same name is refused without --replace" "3 There is a volume with the same name. Update it?" "$? $(cat "$work/err")"
q catalog "$work/src" --name 'Disk~1' >/dev/null 2>"$work/err"
check "tilde and digit refused" "3 fName cannot contain \"~\" character followed by number." "$? $(cat "$work/err")"
q catalog "$work/src" --name 'Other' >/dev/null 2>&1
check "already cataloged is refused without --again" "3" "$?"

check "volumes json" '{"name":"AC/DC","folders":3,"files":3,"kb":3}' \
    "$(q volumes --json | sed 's/"cataloged":"[^"]*",//')"
check "ls puts folders first, then names by collation" "folder Docs|folder Music" \
    "$(q ls 'ac/dc:' --json | sed 's/.*"kind":"\([a-z]*\)","name":"\([^"]*\)".*/\1 \2/' | paste -sd'|')"
check "ls json of a file, path in any letter case" \
    '{"kind":"file","name":"notes.txt","kb":2,"modified":"2003-05-17T14:03:08","media":null}' \
    "$(q ls 'AC/DC:\DOCS\' --json | grep notes.txt)"
check "ls rows in name order" "empty.txt notes.txt" "$(q ls 'AC/DC:\Docs' | cut -f1 | paste -sd' ')"
check "ls of a file-less path" "1" "$(q ls 'AC/DC:\Nope' >/dev/null 2>&1; echo $?)"
check "path not found message" "Path not found!" "$(q ls 'AC/DC:\Nope' 2>&1 >/dev/null)"

check "mp3 media in search json" \
    '{"kind":"file","name":"01.MP3","volume":"AC/DC","path":"Music\\Rock\\","kb":1,"media":"Band - Song"}' \
    "$(q search --name '*.mp3' --json | sed 's/"modified":"[^"]*",//')"
check "artist criterion" "01.MP3" "$(q search --artist band | cut -f1)"
check "contained text matches folders and files" "Docs Rock" "$(q search --name 'o' --sort name | cut -f1 | grep -v txt | tr '\n' ' ' | sed 's/ $//')"
check "size at least" "notes.txt" "$(q search --at-least 2 | cut -f1)"
check "between dates" "notes.txt" "$(q search --between 2003-05-17 2003-05-18 | cut -f1)"
q search --name '*[a-' >/dev/null 2>"$work/err"
check "invalid mask" "1 '*[a-' is an invalid mask at (5)" "$? $(cat "$work/err")"
check "match" "fits no" "$(q match '[!b]*.MP?' a.mp3 b.mp3 | tr '\n' ' ' | sed 's/ $//')"
q search --name '*.mp3' --report "$work/report.txt" >/dev/null
check "report lines end in CR LF" "Criteria: *.mp3"$'\r' "$(head -n 1 "$work/report.txt")"

check "media command" $'Band\t - Song' "$("$cli" media "$work/src/Music/Rock/01.MP3")"
q bogus >/dev/null 2>&1
check "unknown command is a usage error" "2" "$?"

echo "cli: $passes passed, $failures failed"
[ "$failures" -eq 0 ]
