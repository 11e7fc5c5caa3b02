#!/bin/sh
# Converts Microsoft Access databases (Reports.mdb, Class.mdb) into the SQLite
# databases the program reads, once per bench.
#
#   scripts/convert-access.sh FILE...
#
# Each FILE becomes an SQLite database of the same name holding every table and
# every row (binary columns as blobs); the Access original is kept beside it as
# FILE.access. Every table's row count is checked against the Access file before
# anything is moved. A file that is not an Access file, a FILE.access that already
# exists, or any failure leaves FILE as it was and makes the exit status non-zero;
# the other files are still converted.
set -u

# The tools convert table names and texts into the locale's character set, so a table
# named "Umsätze" needs a UTF-8 locale whatever the caller's is (LANG unset, LC_ALL=C).
# C.UTF-8 is on every Debian machine.
LC_ALL=C.UTF-8
export LC_ALL

fail() {
    echo "convert-access: $*" >&2
    return 1
}

# Access files carry their engine's name at bytes 4 to 18.
is_access_file() {
    engine=$(dd if="$1" bs=1 skip=4 count=15 2>/dev/null | tr -d '\000')
    [ "$engine" = "Standard Jet DB" ] || [ "$engine" = "Standard ACE DB" ]
}

# A table name as an SQL identifier.
quoted() {
    printf '"%s"' "$(printf '%s' "$1" | sed 's/"/""/g')"
}

# The tables of $1 as SQLite statements, each column declared with a type that the
# program reads as the Access type: Single as single precision (0.15, not 0.15000001),
# Yes/No as boolean (True/False, not 1/0), Currency and Date/Time as such. mdb-schema's
# own SQLite dialect would make them REAL and INTEGER. A type mdbtools does not know is
# left undeclared, so its values keep the kinds they are stored with. $2 takes the
# Access schema on the way.
write_schema() {
    mdb-schema --no-drop-table --no-not-null --no-default-values --no-not_empty \
        --no-comments --no-indexes --no-relations "$1" access >"$2" || return 1
    awk '
        function quoted(name) { gsub(/"/, "\"\"", name); return "\"" name "\"" }
        function declared(type) {
            sub(/ *\(.*\)$/, "", type)
            if (type == "Boolean") return " BOOLEAN"
            if (type == "Byte" || type == "Integer" || type == "Long Integer") return " INTEGER"
            if (type == "Currency") return " CURRENCY"
            if (type == "Single") return " SINGLE"
            if (type == "Double") return " DOUBLE"
            if (type == "Numeric") return " NUMERIC"
            if (type ~ /^DateTime/) return " DATETIME"
            if (type == "Text" || type == "Replication ID") return " VARCHAR"
            if (type == "Memo/Hyperlink") return " TEXT"
            if (type == "OLE" || type == "Binary") return " BLOB"
            return ""
        }
        /^CREATE TABLE \[.*\]$/ {
            print "CREATE TABLE " quoted(substr($0, 15, length($0) - 15))
            next
        }
        /^\t\[/ {
            end = index($0, "]\t")
            if (end == 0) { print "-- unreadable column: " $0; exit 1 }
            type = substr($0, end + 2)
            sub(/^\t+/, "", type)
            comma = sub(/, *$/, "", type) ? "," : ""
            sub(/ +$/, "", type)
            print "\t" quoted(substr($0, 3, end - 3)) declared(type) comma
            next
        }
        { print }' "$2"
}

# Writes the whole database into $2. mdb-export quotes texts with double quotes,
# which the sqlite3 shell reads as texts; a tool that fails ends the shell with 1.
fill_database() {
    {
        echo "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; BEGIN;"
        write_schema "$1" "$2.schema" || echo ".exit 1"
        while IFS= read -r table; do
            mdb-export -I sqlite -b hex "$1" "$table" || echo ".exit 1"
        done <"$3"
        echo "COMMIT;"
    } | sqlite3 -bail "$2" >/dev/null
}

# Every Access table is in the new database with as many rows.
check_counts() {
    while IFS= read -r table; do
        expected=$(mdb-count "$1" "$table") || return 1
        actual=$(sqlite3 "$2" "SELECT count(*) FROM $(quoted "$table");") || return 1
        if [ "$expected" != "$actual" ]; then
            fail "$1: table '$table' has $expected rows, the conversion $actual"
            return 1
        fi
    done <"$3"
}

work=""
cleanup() {
    [ -n "$work" ] && rm -f -- "$work" "$work.tables" "$work.schema"
    work=""
}
trap cleanup EXIT
trap 'cleanup; exit 1' INT TERM HUP

convert() {
    file=$1
    case $file in -*) file="./$file" ;; esac
    backup="$file.access"
    [ -f "$file" ] || { fail "$file: no such file"; return 1; }
    is_access_file "$file" || { fail "$file: not a Microsoft Access file, left as it is"; return 1; }
    if [ -e "$backup" ]; then
        fail "$file: $backup already exists (converted before?), left as it is"
        return 1
    fi

    work=$(mktemp "$(dirname -- "$file")/.convert-access.XXXXXX") ||
        { work=""; fail "$file: no temporary file beside it"; return 1; }
    tables="$work.tables"
    if ! mdb-tables -1 "$file" >"$tables"; then
        fail "$file: the table list could not be read"
    elif ! fill_database "$file" "$work" "$tables"; then
        fail "$file: the tables could not be copied, left as it is"
    elif ! check_counts "$file" "$work" "$tables"; then
        fail "$file: row counts differ, left as it is"
    elif ! chmod --reference="$file" -- "$work" || ! sync -- "$work"; then
        fail "$file: the converted database could not be finished, left as it is"
    # The original takes its second name first, so FILE is never missing.
    elif ! ln -- "$file" "$backup" 2>/dev/null && ! cp -p -- "$file" "$backup"; then
        fail "$file: $backup could not be made, left as it is"
    elif ! mv -f -- "$work" "$file"; then
        rm -f -- "$backup"
        fail "$file: the converted database could not be moved into place, left as it is"
    else
        echo "$file: converted, tables: $(grep -c '' "$tables"); the original is kept as $backup"
        cleanup
        return 0
    fi
    cleanup
    return 1
}

if [ $# -eq 0 ]; then
    echo "usage: $0 FILE..." >&2
    exit 2
fi
for tool in mdb-tables mdb-schema mdb-export mdb-count sqlite3; do
    command -v "$tool" >/dev/null 2>&1 || { fail "$tool is missing: run scripts/install-deps.sh"; exit 1; }
done

status=0
for file in "$@"; do
    convert "$file" || status=1
done
exit $status
