# Sourced by the command-line test scripts, which are called as
#   SCRIPT TESSALY-CLI CASE
# Sets cli and case_name, moves into a fresh directory that is removed on
# exit, and defines fail.
set -u
cli=$1
case_name=$2
sandbox=$(mktemp -d)
trap 'chmod -R u+w "$sandbox"; rm -rf "$sandbox"' EXIT
cd "$sandbox" || exit 1

fail() {
  echo "FAIL: $*" >&2
  exit 1
}
