// The keys a window keeps for the game: all of them outside waits, a bounded few during one.
#include "app/key_queue.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace veldrisa {
namespace {

constexpr std::size_t Limit = KeyQueue<std::string>::WaitLimit;

std::vector<std::string> Drained(KeyQueue<std::string>& queue) {
    std::vector<std::string> out;
    for (std::string event; queue.Pop(event);) out.push_back(event);
    return out;
}

TEST(KeyQueue, OutsideWaitsEveryKeyAndItsTextIsKeptInOrder) {
    KeyQueue<std::string> queue;
    std::vector<std::string> expected;
    for (int i = 0; i < 100003; ++i) {
        const std::string key = "k" + std::to_string(i);
        queue.PushKey(key, i % 3, i % 2 == 1);
        expected.push_back(key);
        if (i % 5 == 0) {
            queue.PushText("t" + std::to_string(i));
            expected.push_back("t" + std::to_string(i));
        }
    }
    EXPECT_EQ(queue.Keys(), 100003u);
    EXPECT_EQ(Drained(queue), expected);
    EXPECT_EQ(queue.Keys(), 0u);
    EXPECT_FALSE(queue.EndWait()) << "nothing was dropped";
}

TEST(KeyQueue, DuringAWaitAHeldKeyCountsAsOnePress) {
    KeyQueue<std::string> queue;
    queue.StartWait();
    // Space goes down and repeats for three seconds; Right was already held when the wait began.
    queue.PushKey("space", 1, false);
    queue.PushText("space text");
    for (int i = 0; i < 75; ++i) {
        queue.PushKey("space again", 1, true);
        queue.PushText("repeated text");
        queue.PushKey(i == 0 ? "right" : "right again", 2, true);
    }
    // A new press of the same key is a press of its own.
    queue.PushKey("space pressed anew", 1, false);
    EXPECT_FALSE(queue.EndWait()) << "folding is no overflow: no beep";
    EXPECT_EQ(Drained(queue),
              (std::vector<std::string>{"space", "space text", "right", "space pressed anew"}));

    // After the wait its repeats are plain keys again.
    queue.PushKey("space", 1, true);
    queue.PushKey("space", 1, true);
    EXPECT_EQ(queue.Keys(), 2u);
}

TEST(KeyQueue, DuringAWaitKeysBeyondTheLimitAreDroppedWithTheirTextAndSaidOnce) {
    KeyQueue<std::string> queue;
    // Keys kept before the wait count towards the limit.
    for (int i = 0; i < 10; ++i) queue.PushKey("before", 100 + i, false);
    queue.StartWait();
    for (int i = 0; i < 2000; ++i) {
        queue.PushKey("during " + std::to_string(i), i, false);
        queue.PushText("text " + std::to_string(i));
    }
    queue.StartWait();  // another wait of the same busy spell
    queue.PushKey("escape", 9999, false);
    EXPECT_EQ(queue.Keys(), Limit);
    EXPECT_TRUE(queue.EndWait());
    EXPECT_FALSE(queue.EndWait()) << "one beep, not one per key";

    const auto kept = Drained(queue);
    ASSERT_EQ(kept.size(), 10 + 2 * (Limit - 10));
    EXPECT_EQ(kept[10], "during 0");
    EXPECT_EQ(kept[11], "text 0");
    EXPECT_EQ(kept.back(), "text " + std::to_string(Limit - 11));

    // With the queue read, the next wait has room again.
    queue.StartWait();
    queue.PushKey("escape", 9999, false);
    EXPECT_FALSE(queue.EndWait());
    EXPECT_EQ(Drained(queue), std::vector<std::string>{"escape"});
}

}  // namespace
}  // namespace veldrisa
