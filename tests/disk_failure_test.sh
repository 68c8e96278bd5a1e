#!/bin/bash
# Runs the disk failure tests in a private mount namespace with a small tmpfs
# and a read-only view of another one:
#   disk_failure_test.sh path/to/quillbee_disk_tests [gtest arguments...]
# Root gets the namespace directly; another user through a user namespace of
# its own where the system allows one. Without either the tests are skipped
# (exit status 77), with the reason.
set -euo pipefail
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
mkdir "$root/small" "$root/writable" "$root/view"
namespace=(unshare --mount --propagation private)
if ! "${namespace[@]}" true 2>/dev/null; then
    namespace=(unshare --user --map-root-user --mount --propagation private)
    if ! "${namespace[@]}" true 2>/dev/null; then
        echo "disk failure tests skipped: they need a private mount namespace, which needs root" \
             "or user namespaces (kernel.unprivileged_userns_clone=1)" >&2
        exit 77
    fi
fi
"${namespace[@]}" bash -euo pipefail -c '
  root=$1
  shift
  mount -t tmpfs -o size=256k tmpfs "$root/small"
  mount -t tmpfs -o size=1m tmpfs "$root/writable"
  mount --bind "$root/writable" "$root/view"
  mount -o remount,bind,ro "$root/view"
  QB_SMALL_DISK=$root/small QB_WRITABLE_DIR=$root/writable QB_READONLY_VIEW=$root/view "$@"
' bash "$root" "$@"
