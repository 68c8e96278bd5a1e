#!/bin/bash
# Runs the disk failure tests in a private mount namespace with a small tmpfs
# and a read-only view of another one:
#   disk_failure_test.sh path/to/quillbee_disk_tests [gtest arguments...]
set -euo pipefail
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
mkdir "$root/small" "$root/writable" "$root/view"
unshare --mount --propagation private bash -euo pipefail -c '
  root=$1
  shift
  mount -t tmpfs -o size=256k tmpfs "$root/small"
  mount -t tmpfs -o size=1m tmpfs "$root/writable"
  mount --bind "$root/writable" "$root/view"
  mount -o remount,bind,ro "$root/view"
  QB_SMALL_DISK=$root/small QB_WRITABLE_DIR=$root/writable QB_READONLY_VIEW=$root/view "$@"
' bash "$root" "$@"
