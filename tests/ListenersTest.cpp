#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "common/Listeners.h"

// Every listener hears each event while its subscription lives, in the order they came; one
// taken off while the others are told is not told, and a list gone first leaves nothing for
// a subscription to do.
TEST(Listeners, EachHearsWhileSubscribedAndNoLongerOnceItEnds)
{
    std::string heard;
    auto list = std::make_unique<Listeners<char>>();
    Subscription second;
    Subscription first = list->add([&](char c) {
        heard += std::string("1") + c;
        if (c == 'c')
            second.cancel(); // the second is not told of c
    });
    second = list->add([&](char c) { heard += std::string("2") + c; });
    list->notify('a');
    {
        const Subscription third = list->add([&](char c) { heard += std::string("3") + c; });
        list->notify('b');
    }
    list->notify('c');
    list->notify('d');
    Subscription moved = std::move(first);
    list->notify('e');
    EXPECT_EQ(heard, "1a2a1b2b3b1c1d1e");
    EXPECT_FALSE(list->empty());
    moved.cancel();
    EXPECT_TRUE(list->empty());

    Subscription outlives = list->add([&](char) { heard += "late"; });
    list.reset();
    outlives.cancel();
    EXPECT_EQ(heard, "1a2a1b2b3b1c1d1e");
}
