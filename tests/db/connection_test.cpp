#include "db/connection.h"

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

#include "db/database_error.h"
#include "db/error_explanation.h"
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

struct AcceptedUrl {
    const char* url;
    PostgresServer expected;
};

TEST(DatabaseUrl, KnownKeysGiveTheirParts) {
    const std::vector<AcceptedUrl> cases = {
        {"postgresql://design%20office@db.example.cn:6543/jscs?sslmode=require",
         {"db.example.cn", 6543, "design office", "jscs", "sslmode=require"}},
        {"postgres://u@h/d", {"h", 5432, "u", "d", ""}},
        {"postgresql://u@h/d?connect_timeout=1&application_name=quoinry-1&sslmode=verify-full",
         {"h", 5432, "u", "d", "connect_timeout=1;application_name=quoinry-1;sslmode=verify-full"}},
        {"postgresql://u@h/d?connect_timeout=3600", {"h", 5432, "u", "d", "connect_timeout=3600"}},
        {"postgresql:///d?host=/run/postgresql&port=65535&user=u",
         {"/run/postgresql", 65535, "u", "d", ""}},
        {"postgresql://u@h?dbname=jscs&port=1", {"h", 1, "u", "jscs", ""}},
        {"postgresql://u@h:5433/d?port=5433&host=h", {"h", 5433, "u", "d", ""}},
    };
    for (const AcceptedUrl& c : cases) {
        const auto server = std::get<PostgresServer>(ParseDatabaseUrl(c.url, {}));
        EXPECT_EQ(server.host, c.expected.host) << c.url;
        EXPECT_EQ(server.port, c.expected.port) << c.url;
        EXPECT_EQ(server.user, c.expected.user) << c.url;
        EXPECT_EQ(server.database, c.expected.database) << c.url;
        EXPECT_EQ(server.options, c.expected.options) << c.url;
        EXPECT_EQ(server.statement_timeout, 30) << c.url;
    }
}

TEST(DatabaseUrl, PasswordInAnyFormIsRefused) {
    for (const char* url : {
             "postgresql://u:secret@h/d",
             "postgresql://u:@h/d",
             "postgresql://u@h/d?password=x",
             "postgresql://u@h/d?PassWord=x",
             "postgresql://quoinry@127.0.0.1:5432/db?connect_timeout=5;password=SECRET",
             "postgresql://u@h/d?sslmode=require;password=SECRET",
             "postgresql://u@h/d?application_name=a;password=SECRET",
             "postgresql://u@h/d?application_name=a%3Bpassword%3DSECRET",
             "postgresql://u@h/d?connect_timeout=5%20password=SECRET",
             "postgresql://u@h/d?sslmode=require&password=",
         }) {
        try {
            ParseDatabaseUrl(url, {});
            ADD_FAILURE() << "accepted " << url;
        } catch (const DatabaseError& e) {
            EXPECT_NE(std::string(e.what()).find("数据库地址中不能写密码"), std::string::npos)
                << url << ": " << e.what();
        }
    }
}

TEST(DatabaseUrl, UnknownKeysBadValuesAndOtherSchemesAreRefused) {
    for (const char* url : {
             "mysql://u@h/d",
             "jscs.mdb",
             "postgresql://u@h:port/d",
             "postgresql://u@h/d#x",
             "postgresql://u@h/d?options=-c%20statement_timeout%3D0",
             "postgresql://u@h/d?passfile=/tmp/p",
             "postgresql://u@h/d?keepalives=0",
             "postgresql://u@h/d?sslmode=require&sslmode=disable",
             "postgresql://u@h/d?sslmode=maybe",
             "postgresql://u@h/d?connect_timeout=0",
             "postgresql://u@h/d?connect_timeout=3601",
             "postgresql://u@h/d?connect_timeout=-1",
             "postgresql://u@h/d?connect_timeout=5x",
             "postgresql://u@h/d?port=0",
             "postgresql://u@h/d?port=65536",
             "postgresql://u@h:5432/d?port=5433",
             "postgresql://u@h/d?host=other",
             "postgresql://u@h/d?application_name=",
             "postgresql://u@h/d?application_name=a%27b",
             "postgresql://u@h/d?application_name=a%22b",
             "postgresql://u@h/d?application_name=a%5Cb",
             "postgresql://u@h/d?application_name=a%20b",
             "postgresql://u@h/d?application_name=a%09b",
             "postgresql://u@h/d?application_name=a%3Db",
             "postgresql://u@h/d?application_name=a%3Bsslmode%3Ddisable",
         }) {
        try {
            ParseDatabaseUrl(url, {});
            ADD_FAILURE() << "accepted " << url;
        } catch (const DatabaseError& e) {
            EXPECT_EQ(std::string(e.what()).rfind("数据库地址无效: ", 0), 0u)
                << url << ": " << e.what();
        }
    }
}

TEST(DatabaseError, DriverTextsAreExplainedInChineseBeforeTheDriversWords) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"file is not a database", "这个文件不是数据库文件"},
        {"database disk image is malformed", "数据库文件已损坏"},
        {"attempt to write a readonly database", "数据库是只读的"},
        {"ERROR:  cannot execute INSERT in a read-only transaction", "数据库是只读的"},
        {"database is locked", "数据库正被另一个程序或窗口占用"},
        {"database or disk is full", "磁盘已满"},
        {"ERROR:  could not extend file \"base/1/2\": No space left on device", "磁盘已满"},
        {"unable to open database file", "无法打开数据库文件"},
        {"ERROR:  permission denied for table xc", "没有权限"},
        {"connection to server at \"127.0.0.1\", port 1 failed: Connection refused",
         "无法连接数据库服务器"},
        {"could not translate host name \"nowhere\" to address", "无法连接数据库服务器"},
        {"server closed the connection unexpectedly", "无法连接数据库服务器"},
        {"connection to server at \"h\", port 5432 failed: FATAL:  password authentication "
         "failed for user \"u\"",
         "数据库服务器拒绝登录"},
        {"connection to server at \"h\", port 5432 failed: fe_sendauth: no password supplied",
         "数据库服务器拒绝登录"},
        {"connection to server at \"h\", port 5432 failed: timeout expired",
         "数据库服务器在规定的时间内没有回答"},
        {"ERROR:  canceling statement due to statement timeout",
         "数据库服务器在规定的时间内没有回答"},
        {"FATAL:  database \"jscs\" does not exist", "服务器上没有这个数据库或表"},
        {"something nobody expected", "数据库操作失败"},
    };
    for (const auto& [driver, explanation] : cases) {
        const std::string shown = ExplainDatabaseError(driver);
        EXPECT_EQ(shown.rfind(explanation, 0), 0u) << driver << " -> " << shown;
        EXPECT_TRUE(shown.ends_with(" (" + driver + ")")) << shown;
    }
    EXPECT_EQ(ExplainDatabaseError(""), "数据库操作失败");
}

// A socket bound to a free loopback port, listening when asked; `port` is the port.
int LoopbackSocket(bool listening, int& port) {
    const int socket_fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    EXPECT_EQ(bind(socket_fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    if (listening) {
        EXPECT_EQ(listen(socket_fd, 4), 0);
    }
    socklen_t length = sizeof address;
    getsockname(socket_fd, reinterpret_cast<sockaddr*>(&address), &length);
    port = ntohs(address.sin_port);
    return socket_fd;
}

TEST(UnreachableServer, RefusedConnectionNamesTheHost) {
    // A port nobody listens on: bind one, and close it again.
    int port = 0;
    close(LoopbackSocket(false, port));

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
    int port = 0;
    const int silent = LoopbackSocket(true, port);
    const std::string url =
        "postgresql://nobody@127.0.0.1:" + std::to_string(port) + "/jscs?connect_timeout=2";

    Connection connection;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_THROW(connection.Open(ParseDatabaseUrl(url, {})), DatabaseError);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    close(silent);
}

}  // namespace
}  // namespace quoinry::db::testing
