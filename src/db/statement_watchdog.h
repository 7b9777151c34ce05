#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace quoinry::db {

// Ends the wait for a server that stopped answering: when a statement has not come back within
// the limit, it shuts the connection's socket down, so the driver's blocked read returns with
// an error. A stopped server process still has its TCP peer answered by the kernel, so neither
// keepalives nor the server's own statement timeout would end that wait.
class StatementWatchdog {
  public:
    StatementWatchdog() = default;
    ~StatementWatchdog();
    StatementWatchdog(const StatementWatchdog&) = delete;
    StatementWatchdog& operator=(const StatementWatchdog&) = delete;

    // Watches `socket` for `limit` from now until Disarm.
    void Arm(int socket, std::chrono::milliseconds limit);
    // Stops watching; true when the limit had passed and the socket was shut down.
    bool Disarm();

  private:
    void Watch();

    std::mutex mutex_;
    std::condition_variable changed_;
    std::thread thread_;
    bool stopping_ = false;
    bool armed_ = false;
    bool fired_ = false;
    int socket_ = -1;
    std::chrono::steady_clock::time_point deadline_;
};

// Arms a watchdog for one statement; Fired() after the statement tells whether it was cut.
class WatchedStatement {
  public:
    // A socket below 0 watches nothing (an SQLite file).
    WatchedStatement(StatementWatchdog& watchdog, int socket, std::chrono::milliseconds limit);
    ~WatchedStatement();
    WatchedStatement(const WatchedStatement&) = delete;
    WatchedStatement& operator=(const WatchedStatement&) = delete;

    // Disarms; true when the watchdog cut the connection.
    bool Fired();

  private:
    StatementWatchdog* watchdog_;
    bool fired_ = false;
};

}  // namespace quoinry::db
