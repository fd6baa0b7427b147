#pragma once
// Base of every manager and game-wide object: one instance per class, reached through a
// free getter. A second construction throws "Object already exist.".

template <class T>
class cSingleton {
public:
    // The instance is registered before the derived constructor runs, so the downcast is of a
    // half-built object; that is intended.
    __attribute__((no_sanitize("vptr"))) cSingleton() {
        if (s_instance) throw "Object already exist.";
        s_instance = static_cast<T*>(this);
    }
    virtual ~cSingleton() { s_instance = nullptr; }
    cSingleton(const cSingleton&) = delete;
    cSingleton& operator=(const cSingleton&) = delete;

    static T* instance() { return s_instance; }

private:
    static inline T* s_instance = nullptr;
};
