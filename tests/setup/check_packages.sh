#!/bin/bash
# check_packages.sh BUILD_DIR MAKEFILE [SOURCE_DIR]
#
# A fresh machine gets only the packages the Makefile installs, so every file
# the configure step, the compiler, the linker or the test programs read from
# outside the source and build trees must belong to a package of the
# Makefile's list or to one that list pulls in through Depends/Pre-Depends
# (Recommends are not installed: the Makefile uses --no-install-recommends).
# The machine the project is developed on has more installed than that, which
# is why only this check, not a green build, proves the list complete.
set -u
build=$1
makefile=$2
source_dir=$(cd "${3:-$(dirname "$makefile")}" && pwd)
build=$(cd "$build" && pwd)

command -v dpkg-query >/dev/null && command -v apt-cache >/dev/null || {
    echo "not a Debian system: nothing to check"
    exit 77
}

packages=$(sed -n '/^PACKAGES *:\?=/,/^$/p' "$makefile" | sed 's/^PACKAGES *:\?=//; s/\\//g; s/#.*//' | tr -s ' \t\n' ' ')
[ -n "${packages// /}" ] || { echo "no PACKAGES list in $makefile"; exit 1; }

# Every package the list installs: the listed ones and, recursively, what
# they depend on. apt-cache prints each package it visits on a line of its
# own; only installed packages are visited, and a listed package that is not
# installed is reported separately below.
closure=$(apt-cache depends --recurse --installed --no-recommends --no-suggests --no-conflicts \
              --no-breaks --no-replaces --no-enhances $packages 2>/dev/null |
          grep -E '^[a-z0-9][a-z0-9.+-]*(:[a-z0-9]+)?$' | sed 's/:.*//' | sort -u)

# Essential packages are on every Debian system.
closure=$(printf '%s\n%s\n' "$closure" "$(dpkg-query -W -f='${Package} ${Essential}\n' | sed -n 's/ yes$//p')" | sort -u)

missing_listed=""
for p in $packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing_listed="$missing_listed $p"
done
[ -z "$missing_listed" ] || { echo "listed packages that are not installed:$missing_listed"; exit 1; }

inside_trees() {
    case "$1" in "$source_dir"/* | "$build"/*) return 0 ;; esac
    return 1
}

files=$(mktemp)
trap 'rm -f "$files"' EXIT

# What CMake read: the inputs of the rule that re-runs it.
if [ -f "$build/build.ninja" ]; then
    sed -n 's/^build build.ninja: RERUN_CMAKE [^|]*| //p' "$build/build.ninja" | tr ' ' '\n' | grep '^/' >>"$files"
fi
# What CMake found: package directories with their config files, and the
# tools it will run. Libraries it merely found (an optional GLU, say) count
# only when a link below uses them.
while IFS= read -r dir; do
    [ -d "$dir" ] && ls "$dir"/*.cmake 2>/dev/null >>"$files"
done < <(sed -n 's/^[A-Za-z0-9_]*_DIR:PATH=\(\/.*\)$/\1/p' "$build/CMakeCache.txt")
sed -n 's/^CMAKE_[A-Z_]*:FILEPATH=\(\/.*\)$/\1/p' "$build/CMakeCache.txt" >>"$files"
# What the linker read.
[ -f "$build/build.ninja" ] && grep -o '/usr/[^ ]*\.\(so\|a\)\(\.[0-9.]*\)\?' "$build/build.ninja" >>"$files"
# What the compiler read: every header of every object built.
if command -v ninja >/dev/null; then
    (cd "$build" && ninja -t deps 2>/dev/null) | sed -n 's/^ \+\(\/.*\)$/\1/p' >>"$files"
fi
# What the programs and tests load: their shared libraries and the Qt
# platform plugin the tests run on.
for exe in "$build"/quentor "$build"/quentor-sim "$build"/vielo "$build"/tests/*/test_* "$build"/tests/*/*/test_*; do
    [ -x "$exe" ] && [ -f "$exe" ] || continue
    ldd "$exe" 2>/dev/null | sed -n 's/.*=> \(\/[^ ]*\).*/\1/p' >>"$files"
done
for plugin in /usr/lib/*/qt6/plugins/platforms/libqoffscreen.so; do
    [ -e "$plugin" ] && echo "$plugin" >>"$files"
done
# The tools the Makefile and the tests run.
for tool in cmake ninja c++ ctest bash sh; do
    command -v "$tool" >>"$files"
done

# The owner of each file, asked in one batch; a path that no package names
# (reached through a symbolic link or the merged /usr) is asked again under
# its resolved name and without the /usr prefix.
declare -A owner_of
ask_owners() {
    # dpkg -S prints "pkg[:arch][, pkg...]: /path"; diversions are noise.
    xargs -r -d '\n' dpkg -S 2>/dev/null | grep -v '^diversion ' | while IFS= read -r line; do
        echo "${line##*: }	$(echo "${line%%: /*}" | sed 's/,.*//; s/:[a-z0-9]*$//')"
    done
}
candidates=$(sort -u "$files" | while IFS= read -r f; do
    inside_trees "$f" || { [ -e "$f" ] && echo "$f"; }
done)
declare -A found
while IFS='	' read -r path owner; do
    [ -n "$owner" ] && found[$path]=$owner
done < <(echo "$candidates" | ask_owners)
unowned=""
retry=""
for f in $candidates; do
    if [ -n "${found[$f]:-}" ]; then owner_of[${found[$f]}]=$f; else retry="$retry $f"; fi
done
for f in $retry; do
    owner=""
    for candidate in "$(readlink -f "$f")" "${f#/usr}" "$(readlink -f "$f" | sed 's|^/usr||')"; do
        owner=$(echo "$candidate" | ask_owners | head -n 1 | cut -f2)
        [ -n "$owner" ] && break
    done
    if [ -n "$owner" ]; then owner_of[$owner]=$f; else unowned="$unowned $f"; fi
done

bad=""
for owner in "${!owner_of[@]}"; do
    echo "$closure" | grep -qx "$owner" || bad="$bad
  $owner (for ${owner_of[$owner]})"
done
if [ -n "$bad" ]; then
    echo "packages read by the build or the tests but not installed by the Makefile's list:$bad"
    exit 1
fi
echo "every one of ${#owner_of[@]} packages that the build and the tests read is installed by the Makefile's list"
# Files no package owns (generated at install time, such as ld.so.cache) are
# listed for information only.
[ -z "$unowned" ] || echo "files owned by no package:$unowned"
exit 0
