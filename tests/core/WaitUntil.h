#pragma once

#include <chrono>
#include <thread>

namespace vantrel::test {

// Waits until `condition` holds, looking every few milliseconds, for at most `limit`; true when
// it held. For states another thread or process reaches in its own time: the wait ends as soon
// as the state is there, and a generous limit costs nothing when all goes well.
template <typename Condition>
bool WaitUntil(Condition condition, std::chrono::milliseconds limit = std::chrono::seconds(90)) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

}  // namespace vantrel::test
