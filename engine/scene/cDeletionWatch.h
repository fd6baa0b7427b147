#pragma once
// Tells a widget whether it was deleted while it called out. Game handlers may delete the
// widget that calls them (a dialog's button that closes the dialog deletes itself with it), so
// a widget must not touch its own members after such a call unless it knows it still exists.
//
// The widget keeps a cDeletionWatch member; around each call that may delete it, it opens a
// Scope on the stack and asks it afterwards:
//
//     cDeletionWatch::Scope scope(m_deletion_watch);
//     m_handler(this);
//     if (scope.deleted()) return;   // nothing of this object may be used any more
//
// Scopes nest (a handler may make the same widget call out again); the watch's destructor
// marks every open scope.

class cDeletionWatch {
public:
    class Scope {
    public:
        explicit Scope(cDeletionWatch& watch) : m_watch(&watch), m_outer(watch.m_innermost) {
            watch.m_innermost = this;
        }
        ~Scope() {
            if (!m_deleted) m_watch->m_innermost = m_outer;
        }
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

        // True once the watched object has been destroyed.
        bool deleted() const { return m_deleted; }

    private:
        friend class cDeletionWatch;
        cDeletionWatch* m_watch;
        Scope* m_outer;
        bool m_deleted = false;
    };

    cDeletionWatch() = default;
    ~cDeletionWatch() {
        for (Scope* s = m_innermost; s; s = s->m_outer) s->m_deleted = true;
    }
    cDeletionWatch(const cDeletionWatch&) = delete;
    cDeletionWatch& operator=(const cDeletionWatch&) = delete;

private:
    Scope* m_innermost = nullptr;
};
