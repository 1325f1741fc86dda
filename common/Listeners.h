#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "common/Subscription.h"

// Those told of one kind of event, in the order they came. A listener taken off while the
// others are told is not told any more; one added meanwhile hears from the next event on.
template <class Event> class Listeners
{
public:
    using Listener = std::function<void(const Event&)>;

    Listeners() = default;
    Listeners(const Listeners&) = delete;
    Listeners& operator=(const Listeners&) = delete;

    // The listener hears every event until the subscription ends.
    [[nodiscard]] Subscription add(Listener listener)
    {
        auto entry = std::make_shared<Entry>(Entry{std::move(listener), true});
        m_entries->push_back(entry);
        return Subscription(
            [list = std::weak_ptr<List>(m_entries), weak = std::weak_ptr<Entry>(entry)] {
                const auto e = weak.lock();
                if (!e)
                    return; // the list went first, and the listener with it
                e->active = false;
                if (const auto l = list.lock())
                    std::erase(*l, e);
            });
    }

    bool empty() const { return m_entries->empty(); }

    void notify(const Event& event) const
    {
        if (m_entries->empty())
            return;
        // A copy: a listener may add or remove listeners while it is told.
        const List told = *m_entries;
        for (const auto& e : told)
            if (e->active)
                e->listener(event);
    }

private:
    struct Entry {
        Listener listener;
        bool active;
    };
    using List = std::vector<std::shared_ptr<Entry>>;

    std::shared_ptr<List> m_entries = std::make_shared<List>();
};
