#!/usr/bin/env bash
# Installs a build (default build/) into a temporary prefix, moves the tree
# elsewhere, and checks what a host developer gets from it:
#   - exactly the expected files, and the client folder as assets/ holds it;
#   - the libraries' sonames and the $ORIGIN search paths, and no path of the
#     installation or the build in the CMake and pkg-config files;
#   - each public header compiles from the installed tree alone;
#   - examples/minimal-host builds against it with find_package and with
#     pkg-config, loads the module and prints what the module answers;
#   - the installed client plays a scenario with its own module and assets,
#     and one in English with the module's installed catalogue;
#   - the Debian package: its control fields and the same files under /usr.
set -euo pipefail
cd "$(dirname "$0")/.."
source_dir=$PWD
build=$(realpath "${1:-build}")
export QT_QPA_PLATFORM=offscreen
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

passed=0
ok() { echo "ok: $*"; passed=$((passed + 1)); }
fail() { echo "FAILED: $*"; echo "$passed passed, 1 failed"; exit 1; }
cached() { sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"; }

version=$(cached CMAKE_PROJECT_VERSION)
major=${version%%.*}
libdir=$(cached CMAKE_INSTALL_LIBDIR)

echo "== install"
cmake --install "$build" --prefix "$work/installed" >/dev/null
mv "$work/installed" "$work/moved"
p=$work/moved

# ---- the files ------------------------------------------------------------------
installed_files() {  # files and links under $1, without the client folder
  (cd "$1" && find . -path ./share/tarvolan -prune -o \( -type f -o -type l \) -print | sed 's|^\./||' | sort)
}
expected=$(sort <<EOF
bin/tarvolan-client
include/tarvolan/clientkit/ClientKit.h
include/tarvolan/common/GbkString.h
include/tarvolan/common/TextFormat.h
include/tarvolan/platform/Export.h
include/tarvolan/protocol/TarvolanAbi.h
$libdir/cmake/Tarvolan/TarvolanConfig.cmake
$libdir/cmake/Tarvolan/TarvolanConfigVersion.cmake
$(cd "$p" && echo "$libdir"/cmake/Tarvolan/TarvolanTargets-*.cmake)
$libdir/cmake/Tarvolan/TarvolanTargets.cmake
$libdir/libClientKit.so
$libdir/libClientKit.so.$major
$libdir/libClientKit.so.$version
$libdir/libTarvolan.so
$libdir/libTarvolan.so.$major
$libdir/libTarvolan.so.$version
$libdir/libTarvolanPlatform.so
$libdir/libTarvolanPlatform.so.$major
$libdir/libTarvolanPlatform.so.$version
$libdir/pkgconfig/tarvolan.pc
EOF
)
diff <(echo "$expected") <(installed_files "$p") || fail "installed files differ from the list above (<: missing, >: extra)"
ok "installed files: $(echo "$expected" | wc -l), no others"
# assets/ may hold the client log of runs in the repository; it is not installed.
[ ! -e "$p/share/tarvolan/Velora.log" ] || fail "the client log was installed"
diff -r -x Velora.log -x translations assets "$p/share/tarvolan" || fail "share/tarvolan differs from assets/"
ok "share/tarvolan holds assets/, without a client log"
for ts in src/res/translations/tarvolan_*.ts; do
  qm=$(basename "$ts" .ts).qm
  [ -s "$p/share/tarvolan/translations/$qm" ] || fail "the module's catalogue $qm is not installed"
done
ok "share/tarvolan/translations holds the module's catalogues"

# ---- sonames and search paths ---------------------------------------------------
scripts/check-sonames.sh "$p/$libdir/libTarvolan.so.$version" "libTarvolan.so.$major" \
  "$p/$libdir/libClientKit.so.$version" "libClientKit.so.$major" \
  "$p/$libdir/libTarvolanPlatform.so.$version" "libTarvolanPlatform.so.$major" || fail "sonames"
ok "sonames"
runpath() { objdump -p "$1" | awk '$1 == "RUNPATH" || $1 == "RPATH" {print $2}'; }
bin_to_lib=$(realpath -m --relative-to="$p/bin" "$p/$libdir")
[ "$(runpath "$p/bin/tarvolan-client")" = "\$ORIGIN/$bin_to_lib" ] || fail "tarvolan-client RUNPATH $(runpath "$p/bin/tarvolan-client")"
for lib in libTarvolan libClientKit libTarvolanPlatform; do
  [ "$(runpath "$p/$libdir/$lib.so.$version")" = "\$ORIGIN" ] || fail "$lib RUNPATH $(runpath "$p/$libdir/$lib.so.$version")"
done
ok "search paths: \$ORIGIN/$bin_to_lib for the client, \$ORIGIN for the libraries"
if grep -rIl -e "$work" -e "$build" -e "$source_dir" "$p/$libdir/cmake" "$p/$libdir/pkgconfig"; then
  fail "the files above name a folder of this machine"
fi
ok "the CMake and pkg-config files name no folder of this machine"

# ---- the headers --------------------------------------------------------------------
for header in $(cd "$p/include/tarvolan" && find . -name '*.h' | sed 's|^\./||'); do
  for std in c++17 c++20; do
    echo "#include \"$header\"" | g++ -std=$std -fsyntax-only -Wall -Wextra -Werror -I"$p/include/tarvolan" -x c++ - \
      || fail "$header does not compile from the installed tree alone ($std)"
  done
done
ok "each installed header compiles from the installed tree alone (C++17 and C++20)"

# ---- the example host -------------------------------------------------------------
expect_output() {  # $1: output file; the module's answers the example prints
  for line in "module type 11" \
              "skins <- OnMessage(11, 10001) skin request: main.skn window_frm" \
              "client log: [0] OnIMSGotGroupInfoVeloractrl1:number of group = 2" \
              "host <- OnMessage(11, 20016) subscribe: sip:tea@group.velora.example" \
              "done"; do
    grep -qF "$line" "$1" || { cat "$1"; fail "the example did not print: $line"; }
  done
}
cmake -S examples/minimal-host -B "$work/example" -DCMAKE_PREFIX_PATH="$p" >/dev/null
[ "$(sed -n 's/^Tarvolan_DIR:PATH=//p' "$work/example/CMakeCache.txt")" = "$p/$libdir/cmake/Tarvolan" ] \
  || fail "find_package found another Tarvolan"
cmake --build "$work/example" >/dev/null
"$work/example/minimal-host" >"$work/example.out" 2>"$work/example.err" || { cat "$work/example.err"; fail "the example failed"; }
grep -qxF "loaded $p/$libdir/libTarvolan.so.$major" "$work/example.out" || fail "the example loaded $(head -1 "$work/example.out")"
expect_output "$work/example.out"
ok "examples/minimal-host (find_package) loads the installed module and prints its answers"

export PKG_CONFIG_PATH=$p/$libdir/pkgconfig
[ "$(pkg-config --modversion tarvolan)" = "$version" ] || fail "pkg-config --modversion tarvolan"
module=$(pkg-config --variable=module tarvolan)
# shellcheck disable=SC2046 # the flags are words
g++ -std=c++17 -fPIC examples/minimal-host/main.cpp -o "$work/minimal-host-pc" -DTARVOLAN_MODULE="\"$module\"" \
  $(pkg-config --cflags --libs tarvolan Qt6Widgets) -ldl -Wl,-rpath,"$p/$libdir"
"$work/minimal-host-pc" >"$work/example-pc.out" 2>/dev/null || fail "the example built with pkg-config failed"
[ "$(realpath "$module")" = "$(realpath "$p/$libdir/libTarvolan.so.$major")" ] || fail "pkg-config's module is $module"
diff <(tail -n +2 "$work/example.out") <(tail -n +2 "$work/example-pc.out") || fail "the pkg-config build printed otherwise"
ok "examples/minimal-host (pkg-config) prints the same"

# ---- the installed client ---------------------------------------------------------
# startup.json expects the skin main.qss from the client folder: the client
# finds it in share/tarvolan, and without it there fails (so it does not read
# the repository's assets/ instead).
"$p/bin/tarvolan-client" --headless --scenario tests/scenarios/startup.json || fail "the installed client"
cp -a "$p" "$work/noskins" && rm -r "$work/noskins/share/tarvolan/skins"
status=0
"$work/noskins/bin/tarvolan-client" --headless --scenario tests/scenarios/startup.json >"$work/noskins.out" 2>&1 || status=$?
[ "$status" -eq 1 ] && grep -q 'main.qss' "$work/noskins.out" \
  || { cat "$work/noskins.out"; fail "without share/tarvolan/skins the client still found main.qss (status $status)"; }
ok "the installed client plays startup.json with its module and share/tarvolan"
# english.json expects the module in English: the module finds its catalogue
# in share/tarvolan/translations from its own folder (not in the build tree).
(cd "$work" && "$p/bin/tarvolan-client" --headless --scenario "$source_dir/tests/scenarios/english.json" >/dev/null) \
  || fail "the installed module did not speak English (share/tarvolan/translations)"
ok "the installed module finds its English catalogue and speaks English at en_US"

# ---- the Debian package -----------------------------------------------------------
(cd "$build" && cpack -G DEB -B "$work/deb" >"$work/cpack.out" 2>&1) || { cat "$work/cpack.out"; fail "cpack -G DEB"; }
deb=$(echo "$work"/deb/tarvolan_*.deb)
dpkg-deb -f "$deb" Package Version Architecture Depends
[ "$(dpkg-deb -f "$deb" Package) $(dpkg-deb -f "$deb" Version)" = "tarvolan $version" ] || fail "package name and version"
depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6core6 libqt6gui6 libqt6widgets6 libstdc++6 libc6 fonts-wqy-microhei qt6-translations-l10n; do
  [[ ", $depends," == *", $package "* || ", $depends," == *", $package,"* ]] || fail "Depends lacks $package: $depends"
done
ok "tarvolan $version depends on the Qt 6 runtime, fonts-wqy-microhei and Qt's translations"
diff <(installed_files "$p"; (cd "$p" && find share/tarvolan \( -type f -o -type l \) | sort)) \
     <(dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -v '/$' | sed 's|^\./usr/||' | sort) \
  || fail "the package's files differ from an installation's"
ok "the package holds the installed files under /usr"

echo "$passed passed, 0 failed"
