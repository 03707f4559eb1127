#!/usr/bin/env bash
# GMP for WebAssembly, from the Debian source package of the release this
# machine runs, built as generic C with no assembly. The machine's apt set-up
# is only read: the source list, the package lists and apt's cache live in
# the build folder, so this runs without root and changes nothing outside it.
# Usage: web/build_gmp.sh BUILD_DIR   (installs into BUILD_DIR/gmp)
set -euo pipefail
build=$(realpath -m "${1:?usage: $0 BUILD_DIR}")
prefix=$build/gmp
if [ -f "$prefix/lib/libgmpxx.a" ] && grep -qs '^#define GMP_LIMB_BITS *64$' "$prefix/include/gmp.h"; then
    echo "GMP for WebAssembly already built in $prefix"
    exit 0
fi
work=$build/gmp-work
apt_dir=$work/apt
mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial"

# The source lines follow the binary ones of the machine's own Debian archive,
# wherever its sources name it, so no mirror is written into the project.
sources=$apt_dir/sources.list
: >"$sources"
for file in /etc/apt/sources.list.d/*.sources; do
    [ -e "$file" ] || continue
    awk '
        function flush() {
            if (types ~ /(^| )deb( |$)/ && uris != "" && suites != "")
                printf "deb-src [signed-by=%s] %s %s %s\n", key, uris, suites, comps
            types = uris = suites = comps = key = ""
        }
        /^[ \t]*#/ { next }
        /^[ \t]*$/ { flush(); next }
        /^Types:/ { sub(/^Types:[ \t]*/, ""); types = $0 }
        /^URIs:/ { sub(/^URIs:[ \t]*/, ""); uris = $0 }
        /^Suites:/ { sub(/^Suites:[ \t]*/, ""); suites = $1 }
        /^Components:/ { sub(/^Components:[ \t]*/, ""); comps = $0 }
        /^Signed-By:/ { sub(/^Signed-By:[ \t]*/, ""); key = $0 }
        END { flush() }
    ' "$file" >>"$sources"
done
for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -e "$file" ] || continue
    sed -n 's/^[ \t]*deb[ \t]/deb-src /p' "$file" >>"$sources"
done
# The first line of each archive is enough: gmp is in the release's main suite.
grep -q . "$sources" || { echo "no Debian archive found in /etc/apt" >&2; exit 1; }

apt_options=(
    -o "Dir::Etc::SourceList=$sources" -o Dir::Etc::SourceParts=/dev/null
    -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache"
    -o Debug::NoLocking=1 -o APT::Sandbox::User="$(id -un)"
)
if ! find "$work/src" -mindepth 2 -maxdepth 2 -name configure.ac 2>/dev/null | grep -q .; then
    rm -rf "$work/src"
    mkdir -p "$work/src"
    apt-get "${apt_options[@]}" update
    (cd "$work/src" && apt-get "${apt_options[@]}" source gmp)
fi
source_dir=$(find "$work/src" -mindepth 1 -maxdepth 1 -type d -name 'gmp-*' | head -n 1)
[ -n "$source_dir" ] || { echo "apt-get source gmp unpacked nothing" >&2; exit 1; }

cd "$source_dir"
# Debian's emscripten runs its JavaScript tools with the machine's node, which
# finds Debian's node-acorn only where Debian's node would look.
export NODE_PATH=${NODE_PATH:+$NODE_PATH:}/usr/share/nodejs
# Debian's source leaves out the manual and patches configure.ac to match; its
# build regenerates the scripts, and so does this one.
autoreconf -fi
# The engine lays its counts out in 64-bit limbs, as GMP has them on 64-bit
# machines. WebAssembly adds and multiplies 64-bit integers natively, but
# GMP's generic build takes a C long, 32 bits there, for a limb unless told
# to take a long long, which its configure reads from limb_standard.
[ -f Makefile ] && make distclean >/dev/null
limb_standard=longlong emconfigure ./configure --host=none --disable-assembly --enable-cxx \
    --disable-shared --enable-static --prefix="$prefix" CFLAGS=-O2 CXXFLAGS=-O2
emmake make -j"$(nproc)"
emmake make install
echo "GMP for WebAssembly installed in $prefix"
