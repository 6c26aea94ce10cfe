#!/usr/bin/env bash
# Proves the README's two Quick-start commands where they must work: on a fresh Debian 12 machine,
# as root. Makes a minimal Debian 12 root with debootstrap (--variant=minbase) from the archive
# this machine's apt sources name, copies a clean clone of this repository into it, and there
# runs, as the README says, the test command in full, then the run command with
# --quit-after-start under a virtual screen. Needs root, debootstrap and the network to the
# archive; prints how long each step took. Exit status: that of the first step that failed.
#   tools/fresh-check.sh [folder to build the root in]   (default: a new folder under /var/tmp)
# VASORA_FRESH_KEEP=1 keeps the root afterwards (its path is printed), to look into a failure.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
[ "$(id -u)" -eq 0 ] || { echo "fresh-check: run as root" >&2; exit 1; }
command -v debootstrap >/dev/null || DEBIAN_FRONTEND=noninteractive apt-get install -y -qq debootstrap

base=${1:-/var/tmp}
mkdir -p "$base"
root=$(mktemp -d "$base/vasora-fresh.XXXXXX")
# mktemp makes its folder 0700; a root folder is 0755, or no ordinary user gets past it.
chmod 0755 "$root"
mounted=()
cleanup() {
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount -l "${mounted[i]}" 2>/dev/null || true; done
    if [ "${VASORA_FRESH_KEEP:-0}" = 1 ]; then echo "== fresh-check: the root is kept in $root"
    else rm -rf --one-file-system "$root"; fi
}
trap cleanup EXIT

step_start=0
step() { # name
    step_start=$(date +%s)
    echo "== fresh-check: $1"
}
step_end() { # name
    echo "== fresh-check: $1 took $(( $(date +%s) - step_start )) s"
}

# The archive of this machine's apt sources: the first Debian archive named there.
mirror=$(grep -hoE '^(URIs:|deb)[[:space:]]+https?://[^[:space:]]+/debian/?( |$)' \
             /etc/apt/sources.list /etc/apt/sources.list.d/*.sources /etc/apt/sources.list.d/*.list \
             2>/dev/null | head -n 1 | awk '{print $2}' || true)
mirror=${mirror:-http://deb.debian.org/debian}

step "debootstrap bookworm from $mirror"
debootstrap --variant=minbase bookworm "$root" "$mirror" >"$root.debootstrap.log" 2>&1 ||
    { tail -n 20 "$root.debootstrap.log"; rm -f "$root.debootstrap.log"; exit 1; }
rm -f "$root.debootstrap.log"
step_end "debootstrap"

# The machine's own sources, so that the fresh root gets the same updates this machine has.
for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    grep -qE 'deb\.debian\.org|debian' "$f" || continue
    mkdir -p "$root$(dirname "$f")"
    cp "$f" "$root$f"
done
cp /etc/resolv.conf "$root/etc/resolv.conf"
for m in proc sys dev dev/pts; do
    mount --bind "/$m" "$root/$m"
    mounted+=("$root/$m")
done

step "a clean clone of this repository"
git clone -q --no-hardlinks "$repo" "$root/root/vasora"
step_end "clone"

in_root() { chroot "$root" /usr/bin/env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin \
                LANG=C.UTF-8 bash -c "$1"; }

log="$root.log"
run_step() { # name, shown lines, command
    step "$1"
    local status=0
    in_root "$3" >"$log" 2>&1 || status=$?
    tail -n "$2" "$log"
    rm -f "$log"
    step_end "$1"
    [ "$status" -eq 0 ] && return 0
    # What the failing tests printed, so that the log says why and not only which.
    if [ -d "$root/root/vasora/build" ]; then
        echo "== fresh-check: the failing tests again, with their output"
        in_root 'cd /root/vasora && ctest --test-dir build --rerun-failed --output-on-failure' 2>&1 |
            grep -vE '^\s*(PASS|QDEBUG|QINFO|\[       OK|\[ RUN)' | tail -n 200 || true
    fi
    echo "== fresh-check: $1 failed ($status)"
    exit "$status"
}

run_step "the README's test command: tools/build.sh test" 25 \
    'cd /root/vasora && tools/build.sh test'
# The virtual screen is the check's own, not the README's: a learner has a screen.
run_step "the README's run command, with --quit-after-start under a virtual screen" 5 \
    'DEBIAN_FRONTEND=noninteractive apt-get install -y -qq xvfb xauth >/dev/null &&
     cd /root/vasora && xvfb-run -a -s "-screen 0 1366x768x24" \
         tools/build.sh run --quit-after-start'
echo "== fresh-check: both Quick-start commands work in a fresh Debian 12 root"
