#!/usr/bin/env bash
# Mounts a small tmpfs of its own and runs the full-disk test of test_game on it. Mounting
# needs root (or CAP_SYS_ADMIN): where it is refused the test is skipped, status 77, with why.
#   full_disk.sh <path to test_game>
set -u
test_game=$(readlink -f "${1:?usage: full_disk.sh <test_game>}")
disk=$(mktemp -d /tmp/zorvane-full-disk-XXXXXX)
if ! mount -t tmpfs -o size=64k,mode=0700 zorvane-full-disk "$disk" 2>"$disk.err"; then
  echo "SKIP: cannot mount a small tmpfs here ($(tr -d '\n' <"$disk.err")); this test needs root"
  rm -f "$disk.err"
  rmdir "$disk"
  exit 77
fi
rm -f "$disk.err"
trap 'umount "$disk" && rmdir "$disk"' EXIT
ZORVANE_FULL_DISK_DIR=$disk "$test_game" --gtest_filter='FullDisk.*' --gtest_brief=1
