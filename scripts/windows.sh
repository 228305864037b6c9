#!/usr/bin/env bash
# Cross-builds the Windows DLL, vando3-cli.exe and the tests of the Qt-free code with
# MinGW-w64 (preset `windows`), checks what the DLL exports and that no MinGW runtime DLL
# is needed, runs the tests under wine64, and compares vando3-cli.exe's reports, excursion
# text and gage table on the reference inputs with the Linux references byte for byte.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake ninja-build libboost-dev googletest g++-mingw-w64-x86-64-posix wine64 wine)
source scripts/apt_install.sh
apt_install "${packages[@]}"

build_dir=build-windows
cmake --preset windows
cmake --build --preset windows -j "$(nproc)"

root=$(pwd)
bin="$root/$build_dir/bin"
failures=0
fail() {
  echo "windows: FAILED: $*" >&2
  failures=$((failures + 1))
}

# The library's interface is its two entry points, as on Linux.
exports=$(x86_64-w64-mingw32-objdump -p "$bin/usgs-awstat-a193.dll" |
  sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | awk '/^\t\[ *[0-9]+\]/ {print $NF}' | tr '\n' ' ')
echo "windows: usgs-awstat-a193.dll exports: $exports"
[ "$exports" = "LGPST1 LGPST2 " ] || fail "the DLL exports '$exports', not LGPST1 and LGPST2"

# Nothing but system DLLs is imported: the C++ runtime and winpthread are linked in.
for f in "$bin"/*.exe "$bin"/*.dll; do
  imports=$(x86_64-w64-mingw32-objdump -p "$f" | awk '/DLL Name:/ {print $3}' | tr '\n' ' ')
  if grep -qiE 'libstdc|libgcc|winpthread' <<<"$imports"; then
    fail "$(basename "$f") needs MinGW DLLs: $imports"
  fi
done

# A prefix of the build's own; a new one takes a while to create, once.
export WINEPREFIX="$root/$build_dir/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export LC_ALL=C.UTF-8  # wine passes the command line to Windows in the host's encoding
wine=$(command -v wine64 || true)
[ -n "$wine" ] || wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine)
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  "$wine" wineboot --init >/dev/null 2>&1 || true
fi

# The test programs, one wine start each.
passed=0
for t in "$bin"/test_*.exe; do
  name=$(basename "$t" .exe)
  log="$root/$build_dir/$name.log"
  if (cd "$bin" && "$wine" "$t" --gtest_brief=1) >"$log" 2>&1; then
    status=0
  else
    status=$?
  fi
  n=$(tr -d '\r' <"$log" | sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\?\.$/\1/p' | tail -1)
  passed=$((passed + ${n:-0}))
  if [ "$status" -ne 0 ] || [ -z "$n" ]; then
    cat "$log"
    fail "$name (exit $status)"
  else
    echo "windows: $name: ${n} tests passed"
  fi
done

# The reference outputs, computed on Windows from a folder with a non-ASCII name that is
# given with a drive letter and backslashes, by the program and its library copied to a
# non-ASCII folder, while the working folder is elsewhere (the program finds its library
# beside itself). Reading converts LF files, so copies are read.
ref="$root/tests/data/reference"
data="$root/$build_dir/compare/Jürgen's gages"
programs="$root/$build_dir/compare/Programme für Jürgen"
rm -rf "$root/$build_dir/compare"
mkdir -p "$data" "$programs"
cp "$ref"/inputs/* "$data"/
cp "$bin/vando3-cli.exe" "$bin/usgs-awstat-a193.dll" "$programs"/
windows_data="Z:${data//\//\\}"
F1="$windows_data\\09506000_verde_camp_verde_dv_1989-2021.txt"
F2="$windows_data\\11224000_mf_san_joaquin_mammoth_dv_2009-2021.txt"
F3="$windows_data\\08023080_bayou_grand_cane_zeros.txt"
F4="$windows_data\\08023080_bayou_grand_cane_zeros.flo"
F5="$windows_data\\13010065_snake_flagg_ranch_dv_2006-2007_ice_2006layout.txt"

compared=0
compare() {
  local reference=$1
  shift
  local out="$root/$build_dir/compare/$reference" err="$root/$build_dir/compare/$reference.err"
  if ! (cd "$WINEPREFIX/drive_c" && "$wine" "$programs/vando3-cli.exe" "$@") >"$out" 2>"$err"; then
    fail "vando3-cli.exe $1 for $reference: $(cat "$err")"
  elif [ -s "$err" ]; then
    fail "vando3-cli.exe $1 for $reference wrote to standard error: $(cat "$err")"
  elif ! cmp "$out" "$ref/$reference"; then
    fail "vando3-cli.exe output differs from $reference"
  else
    compared=$((compared + 1))
  fi
}
compare report_default.txt run "$F1" "$F2" "$F3"
compare report_avg7_30.txt run --avg 7,30 "$F1" "$F2" "$F3"
compare report_ammonia.txt run --bio ammonia "$F1" "$F2" "$F3"
compare report_summer_perc10.txt run --nonbio perc --perc 10 --season-start "Jun 1" \
  --season-end "Sep 30" --climatic-year 0 "$F1" "$F2" "$F3"
compare excursions_row1.txt excursions --row 1 "$F1" "$F2" "$F3"
compare table_default.tsv table "$F1" "$F2" "$F3" "$F4" "$F5"
echo "windows: $compared of 6 outputs byte-identical to the Linux references"
# Reading never writes: nothing appears beside the LF inputs.
[ ! -e "$data/09506000_verde_camp_verde_dv_1989-2021.txt.unix" ] ||
  fail "reading the LF input in the non-ASCII folder wrote a file beside it"

# An error names the file as it was given, in UTF-8.
missing_file="$windows_data\\nowhere.txt"
(cd "$WINEPREFIX/drive_c" && "$wine" "$programs/vando3-cli.exe" table "$missing_file") \
  >/dev/null 2>"$root/$build_dir/compare/missing.err" || true
grep -qF "\"$missing_file\"" "$root/$build_dir/compare/missing.err" ||
  fail "the error for a missing file does not name it: $(cat "$root/$build_dir/compare/missing.err")"

echo "windows: $((passed + compared)) passed, $failures failed"
[ "$failures" -eq 0 ]
