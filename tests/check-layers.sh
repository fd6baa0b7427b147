#!/usr/bin/env bash
# The layers point one way: game, engine/app, engine/scene, engine/media, engine/core, platform.
# SDL, OpenGL and EGL headers are included only inside platform/ (and its own tests).
set -u
cd "${1:-$(dirname "$0")/..}" || exit 2
fail=0
check() {  # folder, pattern of include paths it must not use, what that means
    local hits
    hits=$(grep -rnE --include='*.h' --include='*.cpp' "#include\s+[<\"]($2)" "$1" 2>/dev/null)
    if [ -n "$hits" ]; then
        echo "$3:"
        echo "$hits"
        fail=1
    fi
}
check engine/core 'engine/(media|scene|app)/|game/' 'engine/core reaches a layer above it'
check engine/media 'engine/(scene|app)/|game/' 'engine/media reaches a layer above it'
check engine/scene 'engine/app/|game/' 'engine/scene reaches a layer above it'
for dir in engine game tools bench tests/engine tests/game tests/tools tests/fuzz; do
    [ -d "$dir" ] && check "$dir" 'SDL2?/|SDL[_a-z]*\.h|GL/|GLES[0-9]*/|EGL/|KHR/' "$dir includes a platform library header outside platform/"
done
[ $fail = 0 ] && echo "layers: ok"
exit $fail
