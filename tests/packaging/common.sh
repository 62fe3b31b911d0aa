# Shared by the packaging tests, which CTest runs as
#     sh tst_NAME.sh BUILD_DIR SOURCE_DIR [more arguments]
# with CMAKE, CPACK and the identifiers below in the environment.
set -eu

build_dir=$1
source_dir=$2
shift 2

work=$(mktemp -d "${TMPDIR:-/tmp}/morvane-packaging.XXXXXX")
trap 'rm -rf "$work"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

skip() {
    echo "SKIP: $*"
    exit 77
}

have() {
    command -v "$1" >/dev/null 2>&1
}

# install_tree ROOT: what `cmake --install` puts in place, under DESTDIR=ROOT
# with the prefix a package uses.
install_tree() {
    if ! DESTDIR=$1 "$CMAKE" --install "$build_dir" --prefix /usr >"$work/install.log" 2>&1; then
        cat "$work/install.log" >&2
        fail "cmake --install $build_dir failed"
    fi
    [ -x "$1/usr/bin/morvane" ] || fail "no usr/bin/morvane installed"
}

# is_elf FILE
is_elf() {
    [ "$(head -c 4 "$1" | od -An -c | tr -d ' ')" = '177ELF' ]
}

# run_installed ROOT HOME CONFIG_HOME DIR ARGS...: runs the installed morvane
# in DIR with a fresh user, no MORVANE_HOME; sets $status, keeps the output
# in $work/out and $work/err.
run_installed() {
    root=$1 user_home=$2 config_home=$3 dir=$4
    shift 4
    status=0
    (cd "$dir" && env -u MORVANE_HOME HOME="$user_home" XDG_CONFIG_HOME="$config_home" \
        "$root/usr/bin/morvane" "$@") >"$work/out" 2>"$work/err" || status=$?
}
