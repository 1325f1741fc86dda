#pragma once

#include <functional>
#include <utility>

// Keeps a listener on its list while it lives: destroying or cancelling it takes the listener
// off. The list may be gone first; then there is nothing to take it off.
class Subscription
{
public:
    Subscription() = default;
    explicit Subscription(std::function<void()> cancel) : m_cancel(std::move(cancel)) {}
    ~Subscription() { cancel(); }
    Subscription(Subscription&& other) noexcept : m_cancel(std::exchange(other.m_cancel, nullptr))
    {
    }
    Subscription& operator=(Subscription&& other) noexcept
    {
        if (this != &other) {
            cancel();
            m_cancel = std::exchange(other.m_cancel, nullptr);
        }
        return *this;
    }
    Subscription(const Subscription&) = delete;
    Subscription& operator=(const Subscription&) = delete;

    void cancel()
    {
        if (m_cancel)
            std::exchange(m_cancel, nullptr)();
    }

private:
    std::function<void()> m_cancel;
};
