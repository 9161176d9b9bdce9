# The name field's keys and what the game must say for each, the same on every platform: sourced by
# the window tests of both (tests/e2e/name_field.sh, tests/windows/window_smoke.sh).
#
# F2 opens the field with the name selected; "Ana" replaces it. Left reaches the last "a",
# Backspace deletes the "n" before it, Home reaches the "A", End the blank after the end; Backspace
# deletes the last "a", Left reaches the "A" again, Delete removes it, Backspace finds the field
# empty, and Escape cancels.
field_keys=(F2 shift+a n a Left BackSpace Home End BackSpace Left Delete BackSpace Escape)
field_heard=("mayúscula a" n a a "borrado n" "mayúscula a" "en blanco" "borrado a" "mayúscula a"
    "borrado mayúscula a" "vacío")

# What a voice file holds of the field: the lines after its prompt, up to "cancelado".
field_texts() {
    awk '/^cancelado$/ { open = 0 } open { print } /^escriba el nombre del personaje/ { open = 1 }' "$1"
}

# Types the field's keys into the focused window, a little apart as a person would.
type_field_keys() {
    local key
    for key in "${field_keys[@]}"; do
        xdotool key "$key"
        sleep 0.15
    done
}
