# Sourced by the browser tests: checks that Node.js and Chromium are there (./test.sh installs
# both; a missing one fails the test) and puts the pinned playwright-core and the test's script
# into the work folder, installing the package once and again only when the pinned versions
# change.
# usage: prepare_browser <work folder> <test script beside this file>
prepare_browser() {
    local work=$1 script=$2
    local here
    here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
    for tool in node npm /usr/bin/chromium; do
        if ! command -v "$tool" >/dev/null; then
            echo "browser test: $tool is missing (./test.sh installs it)" >&2
            exit 1
        fi
    done
    mkdir -p "$work"
    cp "$here/package.json" "$here/package-lock.json" "$here/.npmrc" "$here/$script" "$work/"
    if ! cmp -s "$work/package-lock.json" "$work/node_modules/.installed-lock.json"; then
        (cd "$work" && npm ci --no-audit --no-fund --loglevel=error)
        cp "$work/package-lock.json" "$work/node_modules/.installed-lock.json"
    fi
}
