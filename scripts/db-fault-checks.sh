#!/usr/bin/env bash
# The engineering database under faults, in full, after a release build:
#   - the sample Access file cut and byte-flipped at COUNT positions each (default 1000),
#     imported into SQLite and into a throwaway PostgreSQL server: no crash, and no change to
#     the database unless the import is whole;
#   - the stopped server, password and unreadable settings cases, each with its time.
#   scripts/db-fault-checks.sh [COUNT]
set -euo pipefail
cd "$(dirname "$0")/.."
tests=build/release/tests/quoinry_db_tests
[[ -x "$tests" ]] || { echo "db-fault-checks: build first (cmake --build --preset release)" >&2; exit 1; }
export QUOINRY_MDB_SWEEP="${1:-1000}"
filter='*NoCutOrFlipped*:*CrashInsideLibmdb*:*Truncated*:ServerFaultTest.*'
filter+=':*StopsAnswering*:*Password*:*SettingsFile*'
scripts/with-postgres.sh "$tests" --gtest_filter="$filter" |
    grep -E '^\[( +OK|  FAILED|  SKIPPED) \]|cut or flipped|with-postgres|PASSED|FAILED'
