// A PostgreSQL server that stops answering after the connection is made: the test stops the
// connection's server process with SIGSTOP.

#include <signal.h>

#include <cerrno>
#include <cstring>

#include "db/connection.h"
#include "db/database_error.h"
#include "db/station_lookup.h"
#include "scratch_database.h"

namespace quoinry::db::testing {
namespace {

// Stops a process until the end of the scope.
class Frozen {
  public:
    explicit Frozen(int pid) : pid_(pid), stopped_(kill(pid, SIGSTOP) == 0) {}
    ~Frozen() {
        if (stopped_)
            kill(pid_, SIGCONT);
    }
    Frozen(const Frozen&) = delete;
    Frozen& operator=(const Frozen&) = delete;
    bool stopped() const { return stopped_; }

  private:
    int pid_;
    bool stopped_;
};

class ServerFaultTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!PostgresUrl())
            GTEST_SKIP() << "QUOINRY_TEST_PG_URL is not set: PostgreSQL run skipped";
        scratch_ = std::make_unique<ScratchDatabase>(Backend::kPostgres);
        server_ = std::get<PostgresServer>(scratch_->location());
        server_.statement_timeout = 2;
        connection_.Open(server_);
    }

    int BackendPid() const {
        return std::stoi(connection_.Query("SELECT pg_backend_pid()").Text(0).value_or("0"));
    }

    std::unique_ptr<ScratchDatabase> scratch_;
    PostgresServer server_;
    Connection connection_;
};

TEST_F(ServerFaultTest, StoppedServerProcessGivesAMessageNamingHostAndPort) {
    const int pid = BackendPid();
    {
        const Frozen frozen(pid);
        if (!frozen.stopped())
            GTEST_SKIP() << "cannot stop the server process: " << std::strerror(errno);
        try {
            ListRegions(connection_);
            FAIL() << "answered";
        } catch (const DatabaseError& e) {
            const std::string text = e.what();
            EXPECT_EQ(text.rfind("数据库服务器 " + server_.host + ":" +
                                     std::to_string(server_.port) + " 在 2 秒内没有回答",
                                 0),
                      0u)
                << text;
        }
        // The cut connection says so at once, without waiting again.
        EXPECT_THROW(ListRegions(connection_), DatabaseError);
    }
    connection_.Open(server_);
    EXPECT_EQ(ListRegions(connection_).size(), 34u) << "a new connection works";
}

TEST_F(ServerFaultTest, SlowStatementIsStoppedByTheServerAndTheConnectionStays) {
    try {
        connection_.Query("SELECT pg_sleep(10)");
        FAIL() << "a 10 s statement ended within the 2 s limit";
    } catch (const DatabaseError& e) {
        EXPECT_NE(std::string(e.what()).find("超时"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("statement timeout"), std::string::npos) << e.what();
    }
    EXPECT_EQ(ListRegions(connection_).size(), 34u);
}

}  // namespace
}  // namespace quoinry::db::testing
