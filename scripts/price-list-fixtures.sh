#!/usr/bin/env bash
# Makes the price lists of tests/cli/data again from price-list.fods, as
# LibreOffice Calc saves them. Not run by the tests, which take the files as
# checked in; run it to add a form or to follow a newer LibreOffice, then
# look at the difference before committing it. Installs Debian's
# libreoffice-calc-nogui if it is missing (some 110 packages).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/scripts/install-missing.sh"
install_missing libreoffice-calc-nogui
data="$root/tests/cli/data"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# soffice wants a writable home of its own.
export HOME="$work/home"
mkdir -p "$HOME"
cd "$data"
# Token 1 the delimiter, 3 the character set (34 Windows-1251, 76 UTF-8,
# 65535 UTF-16), 12 the sheet; with a sheet number the file is named after
# the sheet, hence the move.
calc() {
    soffice --headless --convert-to "csv:Text - txt - csv (StarCalc):$1" \
        --outdir "$work/out" price-list.fods > /dev/null
    mv "$work"/out/*.csv "$2"
}
calc 59,34,34,1 goods-cp1251.csv                   # Windows-1251, ";"
calc 44,34,76,1 goods-utf8.csv                     # UTF-8, ","
calc 59,34,76,1,,0,false goods-utf8-plain.csv      # UTF-8, ";", text unquoted
calc 9,34,65535,1 goods-utf16.txt                  # UTF-16 with its mark, tab
calc 59,34,34,1,,0,false,true,true,false,false,2 departments-cp1251.csv
calc 59,34,34,1,,0,false,true,true,false,false,3 goods-semicolon-name.csv
# Calc 7.4 has no token for a byte-order mark; Excel's "CSV UTF-8" starts with one.
(printf '\357\273\277'; cat goods-utf8-plain.csv) > goods-utf8-bom.csv
echo "made in $data with $(soffice --version)"
