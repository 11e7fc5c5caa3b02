#!/bin/sh
# Lays a fresh copy of the built sample program folder at DIR, with its settings
# pointing into DIR itself.
#
# The program reads its settings files in the Western Windows code page (1252), so the
# folder's path is written in it; a path that code page cannot hold is refused, as is one
# the settings cannot carry (a line break, a double quote, a "?"). DIR is replaced only
# when this script laid it: it leaves a marker file there, and never deletes a folder
# without one.
set -eu

marker=.tavexport-sample-run
fail() {
    echo "sample-run: $*" >&2
    exit 1
}

[ $# -eq 2 ] || { echo "usage: $0 BUILT_SAMPLE_FOLDER DIR" >&2; exit 2; }
source=$1
dir=$2
[ -d "$source" ] || fail "no built sample folder at $source"

# The path in the code page of the settings, on standard output; refused when it cannot
# be written there.
in_code_page() {
    case $1 in
    *'
'* | *"$cr"* | *'"'* | *'?'*)
        fail "the path $1 holds a line break, a double quote or a \"?\", which the settings cannot carry"
        ;;
    esac
    printf '%s' "$1" | iconv -f UTF-8 -t WINDOWS-1252 2>/dev/null ||
        fail "the path $1 cannot be written in the Western Windows code page (1252) that the program reads its settings in; lay the sample folder under another path"
}
cr=$(printf '\r')

if [ -e "$dir" ] || [ -L "$dir" ]; then
    if [ -L "$dir" ] || [ ! -d "$dir" ] || [ ! -f "$dir/$marker" ]; then
        fail "$dir exists and was not laid by this script; remove it yourself or name another folder"
    fi
fi
# Checked before anything is laid or removed.
case $dir in
/*) in_code_page "$dir" >/dev/null ;;
*) in_code_page "$(pwd -P)/$dir" >/dev/null ;;
esac

rm -rf -- "$dir"
mkdir -p -- "$dir"
: >"$dir/$marker"
# The absolute path as the program will see it, kept whole even should it end in a
# line break; a folder reached through a link may have another name.
target=$(cd -- "$dir" && pwd -P && echo .)
target=${target%?.}
folder=$(in_code_page "$target") || {
    rm -rf -- "$dir"
    exit 1
}

cp -a -- "$source/." "$dir/"
# Plain text substitution, byte by byte: no character of the path has a meaning here.
for file in "$dir"/*.txt; do
    grep -q -F '@FOLDER@' "$file" || continue
    FOLDER=$folder LC_ALL=C awk '{
        line = $0
        out = ""
        while ((i = index(line, "@FOLDER@")) > 0) {
            out = out substr(line, 1, i - 1) ENVIRON["FOLDER"]
            line = substr(line, i + 8)
        }
        print out line
    }' "$file" >"$file.new"
    mv -- "$file.new" "$file"
done
