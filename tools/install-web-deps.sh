#!/bin/sh
# The browser edition's test tools from npm, at the versions web/tests/package-lock.json pins:
# puppeteer-core (without a browser of its own: Debian's chromium runs the tests), axe-core
# and lighthouse. Installed into web/tests/node_modules, only when the lock file changed.
set -e
cd "$(dirname "$0")/../web/tests"
if [ -f node_modules/.package-lock.json ] && cmp -s package-lock.json node_modules/.lock-installed; then
    exit 0
fi
PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error
cp package-lock.json node_modules/.lock-installed
