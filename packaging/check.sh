#!/usr/bin/env bash
# Checks what packaging/ produces for a built tree: the desktop entry and AppStream
# metadata pass their validators, the Windows resource script compiles, and the
# Debian package holds the expected files and library dependencies and passes
# lintian. Then, only where the machine may be changed (CI is set, or
# PIPWRIGHT_THROWAWAY_ROOT says the root is made for this run), it installs the
# package, starts the installed program without a display, and removes the package
# again. Elsewhere it says that it skipped that step. A Pipwright the user had
# installed is never replaced or removed.
#
#   packaging/check.sh BUILD_DIR
#   packaging/check.sh --deps     prints the Debian packages the checks need
set -euo pipefail

# Debian packages the checks need, beyond the build's own.
CHECK_PACKAGES="desktop-file-utils shared-mime-info appstream binutils-mingw-w64-x86-64 dpkg-dev file lintian"

if [[ ${1-} == --deps ]]; then
    echo "$CHECK_PACKAGES"
    exit 0
fi

fail() {
    echo "packaging check FAILED: $*" >&2
    exit 1
}
step() {
    echo "== $*"
}
as_root() {
    if [[ $(id -u) -eq 0 ]]; then "$@"; else sudo "$@"; fi
}
apt() {
    as_root env DEBIAN_FRONTEND=noninteractive apt-get -y -q -o Dpkg::Use-Pty=0 "$@" </dev/null
}

[[ $# -eq 1 ]] || fail "usage: $0 BUILD_DIR"
build=$(cd "$1" && pwd) || fail "no build directory $1"
[[ -f $build/CMakeCache.txt ]] || fail "$build is not a CMake build directory"
for tool in desktop-file-validate update-mime-database appstreamcli x86_64-w64-mingw32-windres dpkg-shlibdeps file lintian cpack apt-get; do
    command -v "$tool" >/dev/null || fail "$tool not found (Debian packages needed: $CHECK_PACKAGES)"
done

source_dir=$(sed -n 's/^CMAKE_HOME_DIRECTORY:INTERNAL=//p' "$build/CMakeCache.txt")
version=$(sed -n 's/^set(PIPWRIGHT_VERSION "\(.*\)")$/\1/p' "$source_dir/CMakeLists.txt")
[[ $version =~ ^[0-9]+(\.[0-9]+){0,3}$ ]] || fail "cannot read PIPWRIGHT_VERSION from $source_dir/CMakeLists.txt"
# The Windows form of the version, as windres prints it back: 1.00 -> "1, 0, 0, 0".
IFS=. read -ra fields <<<"$version"
while [[ ${#fields[@]} -lt 4 ]]; do fields+=(0); done
rc_version=$(printf '%d, %d, %d, %d' "$((10#${fields[0]}))" "$((10#${fields[1]}))" "$((10#${fields[2]}))" \
    "$((10#${fields[3]}))")
comment=$(sed -n 's/^set(PIPWRIGHT_DESCRIPTION "\(.*\)")$/\1/p' "$source_dir/CMakeLists.txt")
[[ -n $comment ]] || fail "cannot read PIPWRIGHT_DESCRIPTION from $source_dir/CMakeLists.txt"

work=$(mktemp -d)
installed_by_us=0
installed() {
    [[ $(dpkg-query -W -f='${Status}' pipwright 2>/dev/null) == *" installed" ]]
}
cleanup() {
    if [[ $installed_by_us -eq 1 ]] && installed; then
        echo "removing the package after a failed check"
        apt remove pipwright >/dev/null 2>&1 || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

desktop=$build/packaging/pipwright.desktop
metainfo=$build/packaging/io.github.pipwright.Pipwright.metainfo.xml
for f in "$desktop" "$metainfo" "$build/packaging/pipwright.rc"; do
    [[ -f $f ]] || fail "$f was not configured"
    if grep -n '@[A-Za-z_]*@' "$f"; then fail "$f has a placeholder left unreplaced"; fi
done

step "desktop entry"
# The validator exits 0 on warnings and hints, so any output at all is a failure.
out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $out"
[[ -z $out ]] || fail "desktop-file-validate reported: $out"
grep -qxF "Comment=$comment" "$desktop" || fail "the desktop entry's Comment is not \"$comment\""
echo "desktop-file-validate: clean"

step "file type"
# The type the desktop entry opens is the one the package declares, and a
# database built from the declaration alone gives it to a .rolls file.
mime_xml=$source_dir/packaging/pipwright-rolls.xml
mime_type=$(sed -n 's/.*<mime-type type="\([^"]*\)".*/\1/p' "$mime_xml")
[[ -n $mime_type ]] || fail "$mime_xml declares no type"
grep -qxF "MimeType=$mime_type;" "$desktop" || fail "the desktop entry does not open $mime_type"
grep -q '^Exec=pipwright %f$' "$desktop" || fail "the desktop entry's Exec takes no file"
mkdir -p "$work/mime/packages"
cp "$mime_xml" "$work/mime/packages/"
XDG_DATA_HOME=$work update-mime-database "$work/mime" || fail "update-mime-database cannot read $mime_xml"
grep -qxF "$mime_type:*.rolls" "$work/mime/globs" || fail "the database gives *.rolls no type $mime_type"
echo "$mime_type: *.rolls"

step "AppStream metadata"
# --strict fails on errors, warnings and infos; pedantic hints are only listed.
# AppStream 1.0 (Debian 13) wants <developer> in place of the deprecated
# <developer_name>; 0.16 (Debian 12) does not know it yet, and that one note,
# an info, is all it may say.
if ! out=$(appstreamcli validate --no-net --strict "$metainfo" 2>&1); then
    echo "$out"
    left=$(grep -E '^[EWI]: ' <<<"$out" | grep -v -E '^I: [^ ]+:[0-9]+: unknown-tag developer$' || true)
    [[ -z $left && $(appstreamcli --version) =~ version:\ 0\. ]] || fail "appstreamcli validate"
    echo "(AppStream before 1.0 does not know <developer> yet)"
else
    echo "$out"
fi
grep -q "<release version=\"$version\" date=\"[0-9]\{4\}-[0-9]\{2\}-[0-9]\{2\}\"" "$metainfo" \
    || fail "the metainfo has no dated release $version"
launchable=$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "$metainfo")
[[ $launchable == "$(basename "$desktop")" ]] || fail "the metainfo launches '$launchable', not $(basename "$desktop")"

step "Windows resource"
cmake --build "$build" --target pipwright_rc_check || fail "the resource script does not compile (or windres was installed after configuring)"
rc_back=$(x86_64-w64-mingw32-windres -J coff -O rc -i "$build/packaging/pipwright.res") \
    || fail "windres cannot read back pipwright.res"
for want in "FILEVERSION $rc_version" "PRODUCTVERSION $rc_version" \
    "VALUE \"FileVersion\", \"$version\"" "VALUE \"ProductVersion\", \"$version\"" \
    "VALUE \"Comments\", \"$comment\"" "VALUE \"ProductName\", \"Pipwright\"" "Type: group icon"; do
    grep -qF "$want" <<<"$rc_back" || fail "the compiled resource lacks: $want"
done
echo "pipwright.res: version $rc_version / $version, comment and icon present"

step "Debian package"
rm -f "$build"/pipwright_*.deb
(cd "$build" && cpack -G DEB) || fail "cpack -G DEB"
arch=$(dpkg --print-architecture)
deb=$build/pipwright_${version}_${arch}.deb
[[ -f $deb ]] || fail "cpack did not make $(basename "$deb")"

listing=$(dpkg-deb -c "$deb")
echo "$listing"
files=$(awk '$1 !~ /^d/ { sub(/^\./, "", $6); print $6 }' <<<"$listing" | sort)
# Every file the package may hold; a new install() rule belongs here too.
expected=$(sort <<'EOF'
/usr/bin/pipwright
/usr/bin/pipwright-cli
/usr/share/applications/pipwright.desktop
/usr/share/metainfo/io.github.pipwright.Pipwright.metainfo.xml
/usr/share/mime/packages/pipwright-rolls.xml
/usr/share/icons/hicolor/16x16/apps/pipwright.png
/usr/share/icons/hicolor/32x32/apps/pipwright.png
/usr/share/icons/hicolor/scalable/apps/pipwright.svg
/usr/share/man/man1/pipwright.1.gz
/usr/share/man/man1/pipwright-cli.1.gz
/usr/share/bash-completion/completions/pipwright-cli
/usr/share/doc/pipwright/copyright
/usr/share/doc/pipwright/changelog.gz
EOF
)
[[ $files == "$expected" ]] || fail "package contents differ from the expected files:
$(diff <(echo "$expected") <(echo "$files") || true)"
awk '($6 == "./usr/bin/pipwright" || $6 == "./usr/bin/pipwright-cli") && $1 !~ /^-rwxr-xr-x/ { bad = 1 } END { exit bad }' \
    <<<"$listing" || fail "a program in /usr/bin is not mode 755"

field() {
    dpkg-deb -f "$deb" "$1"
}
[[ $(field Package) == pipwright ]] || fail "package name is '$(field Package)'"
[[ $(field Version) == "$version" ]] || fail "package version is '$(field Version)', not $version"
[[ $(field Architecture) == "$arch" ]] || fail "package architecture is '$(field Architecture)'"
depends=$(field Depends)
echo "Depends: $depends"
# Debian 13 renamed some libraries for its 64-bit time_t (libqt6core6t64).
for lib in libc6 libstdc++6 libqt6core6 libqt6widgets6 libqt6svg6 libqt6printsupport6 libgmp10; do
    [[ ", $depends," == *", $lib ("* || ", $depends," == *", ${lib}t64 ("* ]] || fail "Depends lacks $lib"
done
[[ $(field Recommends) == *qt6-wayland* ]] || fail "Recommends lacks qt6-wayland: '$(field Recommends)'"
changelog_version=$(dpkg-deb --fsys-tarfile "$deb" | tar -xOf - ./usr/share/doc/pipwright/changelog.gz | gzip -dc \
    | sed -n '1s/^pipwright (\([^)]*\)).*/\1/p')
[[ $changelog_version == "$version" ]] || fail "the changelog's latest entry is '$changelog_version', not $version"

step "lintian"
# Errors and warnings fail; informational tags are listed.
set +e
lint=$(lintian --info --fail-on error,warning "$deb" 2>&1)
lint_status=$?
set -e
grep -v '^running with root privileges' <<<"$lint" || true
[[ $lint_status -eq 0 ]] || fail "lintian"
echo "lintian: no errors or warnings"

if [[ -z ${CI-} && -z ${PIPWRIGHT_THROWAWAY_ROOT-} ]]; then
    echo "== skipped the install check: it installs the package system-wide, so it runs only"
    echo "   where CI or PIPWRIGHT_THROWAWAY_ROOT is set"
    echo "packaging checks passed"
    exit 0
fi
if installed; then
    echo "== skipped the install check: a Pipwright is already installed here, and it is left alone"
    echo "packaging checks passed"
    exit 0
fi

step "install and start"
installed_by_us=1
apt install "$deb" || fail "apt-get install"
[[ $(dpkg-query -W -f='${Version}' pipwright) == "$version" ]] || fail "version $version is not what got installed"
[[ -x /usr/bin/pipwright ]] || fail "/usr/bin/pipwright is not installed"

# The program runs until it is closed; a termination request closes its window
# as the user would, so it must still be up after 3 s and then leave with status
# 0 on SIGTERM. An earlier exit, a crash, a death by the signal itself (143), or
# a stop by the SIGKILL that follows an ignored SIGTERM (137) all fail. A clean
# environment shows that the installed program needs nothing from the build tree.
start=$SECONDS
set +e
env -i PATH=/usr/bin:/bin HOME="$work" XDG_RUNTIME_DIR="$work" QT_QPA_PLATFORM=offscreen \
    timeout --preserve-status -s TERM -k 5 3 /usr/bin/pipwright </dev/null >"$work/out" 2>"$work/err"
status=$?
set -e
elapsed=$((SECONDS - start))
cat "$work/out" "$work/err"
if grep -E -i "cannot load library|could not load the qt platform plugin|failed to start|error while loading shared" \
    "$work/err"; then
    fail "the installed program could not load what it needs"
fi
case $status in
0) [[ $elapsed -ge 3 ]] || fail "the program exited after ${elapsed} s, before it was asked to" ;;
137) fail "the program ignored SIGTERM and had to be killed" ;;
*) fail "the program ended with status $status after ${elapsed} s instead of closing cleanly" ;;
esac
echo "/usr/bin/pipwright stayed up ${elapsed} s and closed cleanly on SIGTERM"
env -i PATH=/usr/bin:/bin /usr/bin/pipwright-cli 2d6 >"$work/cli" || fail "the installed pipwright-cli failed"
grep -qxF "P(7) = 16.666666667%" "$work/cli" || fail "the installed pipwright-cli did not print the odds of 2d6"
echo "/usr/bin/pipwright-cli counted 2d6"

step "remove"
apt remove pipwright || fail "apt-get remove"
installed_by_us=0
for f in /usr/bin/pipwright /usr/bin/pipwright-cli /usr/share/applications/pipwright.desktop; do
    [[ ! -e $f ]] || fail "$f is still there after removal"
done
if installed; then
    fail "dpkg still lists pipwright as installed"
fi

echo "packaging checks passed"
