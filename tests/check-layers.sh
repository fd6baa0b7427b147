#!/usr/bin/env bash
# The layers point one way: game, engine/app, engine/scene, engine/media, engine/core, platform.
# engine/app/GameEntry.cpp is the one engine file that includes game/.
# Inside game/, bottom to top: data (stored data, constants, texture-naming rules); effects;
# restaurant, characters and scoring (one floor: they may use each other); interface; flow;
# menus, shop and minigame. A lower folder reaches a higher one only through an interface
# declared below it (cRestaurantHost, cBonusBar, cTutorialHost, cPanelOwner).
# SDL, OpenGL and EGL headers are included only inside platform/ (and its own tests).
set -u
cd "${1:-$(dirname "$0")/..}" || exit 2
fail=0
check() {  # folder, pattern of include paths it must not use, what that means[, files allowed to]
    local hits
    hits=$(grep -rnE --include='*.h' --include='*.cpp' "#include\s+[<\"]($2)" "$1" 2>/dev/null)
    [ -n "${4:-}" ] && hits=$(grep -vE "^($4):" <<<"$hits")
    if [ -n "$hits" ]; then
        echo "$3:"
        echo "$hits"
        fail=1
    fi
}
check engine/core 'engine/(media|scene|app)/|game/' 'engine/core reaches a layer above it'
check engine/media 'engine/(scene|app)/|game/' 'engine/media reaches a layer above it'
check engine/scene 'engine/app/|game/' 'engine/scene reaches a layer above it'
check engine/app 'game/' 'engine/app includes game/ outside its one entry hook' 'engine/app/GameEntry\.cpp'
check platform 'engine/|game/' 'platform reaches a layer above it'

above_data='effects|restaurant|characters|scoring|interface|flow|menus|shop|minigame'
above_effects='restaurant|characters|scoring|interface|flow|menus|shop|minigame'
above_restaurant='interface|flow|menus|shop|minigame'
above_interface='flow|menus|shop|minigame'
above_flow='menus|shop|minigame'
check game/data "game/($above_data)/" 'game/data reaches a layer above it'
check game/effects "game/($above_effects)/" 'game/effects reaches a layer above it'
for dir in game/restaurant game/characters game/scoring; do
    check "$dir" "game/($above_restaurant)/" "$dir reaches a layer above it"
done
check game/interface "game/($above_interface)/" 'game/interface reaches a layer above it'
# The root object builds every application state, and two flow files still reach into the
# states' folders; no other flow file may.
check game/flow "game/($above_flow)/" 'game/flow reaches a layer above it' \
    'game/flow/(cGame|cGameCheats|cGameScreen|cCursor)\.cpp'

for dir in engine game tools bench tests/engine tests/game tests/tools tests/fuzz; do
    [ -d "$dir" ] && check "$dir" 'SDL2?/|SDL[_a-z]*\.h|GL/|GLES[0-9]*/|EGL/|KHR/' "$dir includes a platform library header outside platform/"
done
[ $fail = 0 ] && echo "layers: ok"
exit $fail
