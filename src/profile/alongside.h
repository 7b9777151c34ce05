#pragma once

#include <cstddef>
#include <future>
#include <system_error>
#include <utility>

namespace quoinry::profile {

// Below this many items a second thread costs more than it saves.
inline constexpr size_t kWorthASecondThread = 512;

// WebAssembly without threads: std::async's thread never starts, and get() waits forever.
#if defined(__EMSCRIPTEN__) && !defined(__EMSCRIPTEN_PTHREADS__)
inline constexpr bool kThreadsAvailable = false;
#else
inline constexpr bool kThreadsAvailable = true;
#endif

// Starts `work` on a thread of its own when there are enough `items` to make it worth one and a
// thread can be had; otherwise it is done when its result is asked for. The future's get() gives
// the result or throws what the work threw.
template <typename Work>
auto Alongside(size_t items, Work work) -> std::future<decltype(work())> {
    if (kThreadsAvailable && items >= kWorthASecondThread) {
        try {
            return std::async(std::launch::async, work);
        } catch (const std::system_error&) {
        }
    }
    return std::async(std::launch::deferred, std::move(work));
}

}  // namespace quoinry::profile
