#pragma once
// Deleting an owned part and forgetting it in one step, so no pointer outlives its object.

template <class T>
void deleteAndNull(T*& part) {
    delete part;
    part = nullptr;
}
