# Sourced by the build scripts: configure_tree DIR [CMAKE-ARGUMENT...]
# configures the sources into the Ninja tree DIR, warnings as errors when
# CI=true or WERROR=1. Expects $root, the checkout.
configure_tree() {
    local dir="$1" werror=OFF
    shift
    if [[ "${CI:-}" == "true" || "${WERROR:-}" == "1" ]]; then werror=ON; fi
    cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
          -DTABULON_WERROR=$werror "$@" > /dev/null
}
