# shellcheck shell=bash
# Checks that run on and report, for the install and package tests: every
# check prints one line, and checks_done ends the script with status 1 if any
# of them failed.
#   source lib_checks.sh

failures=0

pass() { echo "ok:   $*"; }
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
# check WHAT COMMAND [ARGS...]: passes WHAT when the command succeeds.
check() {
  local what=$1
  shift
  if "$@"; then pass "$what"; else fail "$what"; fi
}

# Ends the script: status 1 with the number of failed checks, else 0.
checks_done() {
  if [ $failures -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
  fi
  echo "all checks passed"
  exit 0
}
