#include "db/statement_watchdog.h"

#include <sys/socket.h>

namespace quoinry::db {

StatementWatchdog::~StatementWatchdog() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable())
        thread_.join();
}

void StatementWatchdog::Arm(int socket, std::chrono::milliseconds limit) {
    {
        const std::lock_guard lock(mutex_);
        socket_ = socket;
        deadline_ = std::chrono::steady_clock::now() + limit;
        armed_ = true;
        fired_ = false;
        if (!thread_.joinable())
            thread_ = std::thread([this] { Watch(); });
    }
    changed_.notify_all();
}

bool StatementWatchdog::Disarm() {
    const std::lock_guard lock(mutex_);
    armed_ = false;
    return fired_;
}

void StatementWatchdog::Watch() {
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        if (!armed_) {
            changed_.wait(lock);
        } else if (changed_.wait_until(lock, deadline_) == std::cv_status::timeout && armed_ &&
                   std::chrono::steady_clock::now() >= deadline_) {
            // Under the lock: Disarm cannot return, and the socket cannot be closed and its
            // number reused, before this.
            shutdown(socket_, SHUT_RDWR);
            fired_ = true;
            armed_ = false;
        }
    }
}

WatchedStatement::WatchedStatement(StatementWatchdog& watchdog, int socket,
                                   std::chrono::milliseconds limit)
    : watchdog_(socket >= 0 ? &watchdog : nullptr) {
    if (watchdog_ != nullptr)
        watchdog_->Arm(socket, limit);
}

WatchedStatement::~WatchedStatement() {
    Fired();
}

bool WatchedStatement::Fired() {
    if (watchdog_ != nullptr) {
        fired_ = watchdog_->Disarm();
        watchdog_ = nullptr;
    }
    return fired_;
}

}  // namespace quoinry::db
