#include "db/connection.h"

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

#include "db/database_error.h"
#include "db/location.h"
#include "db/profile_table.h"
#include "db/station_lookup.h"
#include "scratch_database.h"

namespace quoinry::db::testing {
namespace {

using ConnectionTest = DatabaseTest;

TEST_P(ConnectionTest, ReopeningLeavesOneWorkingConnection) {
    EXPECT_TRUE(connection_.IsOpen());
    EXPECT_FALSE(connection_.Open(scratch_->location())) << "tables made twice";
    EXPECT_TRUE(connection_.IsOpen());
    EXPECT_EQ(ListRegions(connection_).size(), 34u);
    connection_.Close();
    EXPECT_FALSE(connection_.IsOpen());
    EXPECT_THROW(ListRegions(connection_), DatabaseError);
    connection_.Open(scratch_->location());
    EXPECT_EQ(ListRegions(connection_).size(), 34u);
}

TEST_P(ConnectionTest, WindowsHaveConnectionsOfTheirOwn) {
    Connection second;
    second.Open(scratch_->location());
    ProfileTexts profile{"50", "A", {}};
    profile.values.fill("2");
    ASSERT_EQ(AddProfile(second, profile, {}), WriteOutcome::kWritten);
    second.Close();
    EXPECT_EQ(ListNumbers(connection_, "50"), std::vector<std::string>{"A"});
}

TEST_P(ConnectionTest, FailedStatementInsideATransactionRollsAllBack) {
    EXPECT_THROW(connection_.InTransaction([&] {
        connection_.Execute("DELETE FROM cs");
        connection_.Execute("SELECT no_such_column FROM cs");
    }),
                 DatabaseError);
    EXPECT_EQ(ListRegions(connection_).size(), 34u);
}

INSTANTIATE_TEST_SUITE_P(Backends, ConnectionTest,
                         ::testing::Values(Backend::kSqlite, Backend::kPostgres), BackendName);

TEST(DatabaseUrl, EmptyIsTheEmbeddedFile) {
    const Location location = ParseDatabaseUrl("", "/p/mdb/jscs.db");
    EXPECT_EQ(std::get<SqliteFile>(location).file, "/p/mdb/jscs.db");
}

TEST(DatabaseUrl, ServerAddressGivesItsParts) {
    const auto server = std::get<PostgresServer>(ParseDatabaseUrl(
        "postgresql://design%20office@db.example.cn:6543/jscs?sslmode=require", {}));
    EXPECT_EQ(server.user, "design office");
    EXPECT_EQ(server.host, "db.example.cn");
    EXPECT_EQ(server.port, 6543);
    EXPECT_EQ(server.database, "jscs");
    EXPECT_EQ(server.options, "sslmode=require");
    const auto plain = std::get<PostgresServer>(ParseDatabaseUrl("postgres://u@h/d", {}));
    EXPECT_EQ(plain.port, 5432);
}

TEST(DatabaseUrl, PasswordsAndOtherSchemesAreRefused) {
    for (const char* url : {"postgresql://u:secret@h/d", "postgresql://u@h/d?password=x",
                            "mysql://u@h/d", "jscs.mdb", "postgresql://u@h:port/d"}) {
        EXPECT_THROW(ParseDatabaseUrl(url, {}), DatabaseError) << url;
    }
}

TEST(UnreachableServer, RefusedConnectionNamesTheHost) {
    // A port nobody listens on: bind one, and close it again.
    const int probe = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    socklen_t length = sizeof address;
    getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
    const int port = ntohs(address.sin_port);
    close(probe);

    Connection connection;
    const std::string url = "postgresql://nobody@127.0.0.1:" + std::to_string(port) + "/jscs";
    try {
        connection.Open(ParseDatabaseUrl(url, {}));
        FAIL() << "connected";
    } catch (const DatabaseError& e) {
        EXPECT_NE(std::string(e.what()).find("127.0.0.1:" + std::to_string(port)),
                  std::string::npos)
            << e.what();
    }
    EXPECT_FALSE(connection.IsOpen());
}

TEST(UnreachableServer, SilentServerTimesOutInsteadOfHanging) {
    // Accepts connections (the kernel does) but never answers.
    const int silent = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(bind(silent, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(listen(silent, 4), 0);
    socklen_t length = sizeof address;
    getsockname(silent, reinterpret_cast<sockaddr*>(&address), &length);
    const std::string url =
        "postgresql://nobody@127.0.0.1:" + std::to_string(ntohs(address.sin_port)) +
        "/jscs?connect_timeout=2";

    Connection connection;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_THROW(connection.Open(ParseDatabaseUrl(url, {})), DatabaseError);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    close(silent);
}

}  // namespace
}  // namespace quoinry::db::testing
