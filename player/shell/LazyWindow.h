#pragma once
// A window that is built the first time it is used: building a dialog's controls costs more
// than the start of the player can spare, and most dialogs are never opened in a session.

#include <functional>
#include <utility>

template <class Window>
class LazyWindow
{
public:
    explicit LazyWindow(std::function<Window*()> make) : m_make(std::move(make)) {}
    LazyWindow(const LazyWindow&) = delete;
    LazyWindow& operator=(const LazyWindow&) = delete;

    // The window when it was built already, else nullptr (nothing is built).
    Window* get() const { return m_window; }
    // Any use builds the window first.
    Window& operator*() const { return *build(); }
    Window* operator->() const { return build(); }
    operator Window*() const { return build(); }

private:
    Window* build() const
    {
        if (!m_window) m_window = m_make();
        return m_window;
    }

    std::function<Window*()> m_make;
    mutable Window* m_window = nullptr;
};
