// The database commands of the quoinry executable, run as a user would.

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <future>
#include <sstream>
#include <thread>

#include "db/profile_table.h"
#include "scratch_database.h"

namespace quoinry::db::testing {
namespace {

struct CommandRun {
    int status = -1;
    std::string out;
    std::string err;
};

class DatabaseCommandsTest : public ::testing::Test {
  protected:
    void SetUp() override { home_ = std::make_unique<ScratchDatabase>(Backend::kSqlite); }

    // `environment` is put before the command: "QUOINRY_DATABASE=... ". A command that hangs is
    // killed after a minute (status -1).
    CommandRun Quoinry(const std::string& args, const std::string& environment = "") const {
        const auto err_file = home_->folder() / "stderr.txt";
        const std::string command = "env -u QUOINRY_DATABASE QUOINRY_HOME='" +
                                    home_->folder().string() + "' " + environment +
                                    " timeout -s KILL 60 '" + QUOINRY_EXECUTABLE + "' " + args +
                                    " 2>'" + err_file.string() + "'";
        CommandRun run;
        FILE* pipe = popen(command.c_str(), "r");
        char buffer[4096];
        std::size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, n);
        const int status = pclose(pipe);
        run.status = WIFEXITED(status) && WEXITSTATUS(status) != 137 ? WEXITSTATUS(status) : -1;
        std::stringstream err;
        err << std::ifstream(err_file).rdbuf();
        run.err = err.str();
        return run;
    }

    std::filesystem::path Home() const { return home_->folder(); }

    std::unique_ptr<ScratchDatabase> home_;
};

// Another program holding the database (here a transaction that locks it) is said, not waited
// for without a word.
TEST_F(DatabaseCommandsTest, ADatabaseLockedByAnotherProgramIsSaid) {
    ASSERT_EQ(Quoinry("stations 广东").status, 0);
    const std::string holder =
        "exec python3 -c \"import os, sqlite3, sys, time\n"
        "c = sqlite3.connect(sys.argv[1], isolation_level=None)\n"
        "c.execute('BEGIN EXCLUSIVE'); print(os.getpid(), flush=True)\n"
        "time.sleep(60)\" '" +
        (Home() / "mdb" / "jscs.db").string() + "'";
    FILE* locker = popen(holder.c_str(), "r");
    ASSERT_NE(locker, nullptr);
    char line[32] = {};
    ASSERT_NE(std::fgets(line, sizeof line, locker), nullptr);
    const pid_t holder_pid = static_cast<pid_t>(std::atol(line));
    ASSERT_GT(holder_pid, 0);
    const CommandRun run = Quoinry("stations 广东");
    ::kill(holder_pid, SIGTERM);
    pclose(locker);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("数据库正被另一个程序或窗口占用 (已锁定)"), std::string::npos)
        << run.err;
}

TEST_F(DatabaseCommandsTest, FreshStartListsTheCitiesOfGuangdong) {
    const CommandRun run = Quoinry("stations 广东");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.rfind("广州市\t500\n", 0), 0u) << run.out;
    EXPECT_NE(run.out.find("\n深圳市\t750\n"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(Home() / "mdb" / "jscs.db"));

    const CommandRun regions = Quoinry("stations");
    EXPECT_EQ(regions.out.rfind("北京\n天津\n上海\n重庆\n", 0), 0u);
}

TEST_F(DatabaseCommandsTest, InitNeverOverwritesWithoutForce) {
    EXPECT_EQ(Quoinry("db init").status, 0);
    const CommandRun again = Quoinry("db init");
    EXPECT_EQ(again.status, 1);
    EXPECT_NE(again.err.find("--force"), std::string::npos) << again.err;
    EXPECT_EQ(
        Quoinry("db import-mdb '" + TestData("jscs-sample.mdb").string() + "' --replace").status,
        0);
    EXPECT_EQ(Quoinry("profiles").out, "50系列平开窗\n70系列推拉窗\n");
    EXPECT_EQ(Quoinry("db init --force").status, 0);
    EXPECT_EQ(Quoinry("profiles").out, "60平开窗\n70推拉窗\n60中梃\n50平开门\n圆管\n");
}

TEST_F(DatabaseCommandsTest, ImportedProfileIsShownWithItsPicture) {
    const CommandRun import =
        Quoinry("db import-mdb '" + TestData("jscs-sample.mdb").string() + "'");
    EXPECT_EQ(import.status, 1) << "mixed into the built-in stations";
    const CommandRun replace =
        Quoinry("db import-mdb '" + TestData("jscs-sample.mdb").string() + "' --replace");
    EXPECT_EQ(replace.status, 0) << replace.err;
    EXPECT_EQ(replace.out, "cs\t11\nxc\t4\n");

    EXPECT_EQ(Quoinry("profiles 50系列平开窗").out, "PK-5001\nPK-5002\n");
    const auto picture = Home() / "pic.wmf";
    const CommandRun shown =
        Quoinry("profiles 50系列平开窗 PK-5002 --picture '" + picture.string() + "'");
    EXPECT_EQ(shown.status, 0) << shown.err;
    EXPECT_EQ(shown.out,
              "2=85.5\n3=49.6\n4=1.4\n5=5.107\n6=70000\n7=56.789\n8=28.346\n9=13.412\n"
              "10=15.067\n11=10.338\n12=9.786\n13=8.215\n14=7.903\n15=6.044\n16=6.517\n");
    EXPECT_EQ(ReadBytes(picture), ReadBytes(TestData("jscs-sample-pic-2.wmf")));
    EXPECT_EQ(Quoinry("stations 测试").out, "O'Hare\t600\n无数据\t\n");

    const CommandRun missing = Quoinry("profiles 50系列平开窗 PK-9999");
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, "");
}

TEST_F(DatabaseCommandsTest, EnvironmentOverridesTheSettingsFile) {
    std::ofstream(Home() / "info.ini") << "[database]\r\nurl=mysql://nowhere/db\r\n";
    const CommandRun from_ini = Quoinry("stations");
    EXPECT_EQ(from_ini.status, 1);
    EXPECT_NE(from_ini.err.find("mysql://nowhere/db"), std::string::npos) << from_ini.err;

    const CommandRun overridden = Quoinry("stations", "QUOINRY_DATABASE=");
    EXPECT_EQ(overridden.status, 0) << overridden.err;
}

TEST_F(DatabaseCommandsTest, ServerFromTheSettingsFile) {
    const auto url = PostgresUrl();
    if (!url)
        GTEST_SKIP() << "QUOINRY_TEST_PG_URL is not set: PostgreSQL run skipped";
    ScratchDatabase server(Backend::kPostgres);
    const auto& location = std::get<PostgresServer>(server.location());
    std::ofstream(Home() / "info.ini")
        << "[database]\nurl=postgresql://" << location.user << "@" << location.host << ":"
        << location.port << "/" << location.database << "\n";
    const CommandRun run = Quoinry("stations 广东");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.rfind("广州市\t500\n", 0), 0u);
    EXPECT_FALSE(std::filesystem::exists(Home() / "mdb" / "jscs.db"));
}

TEST_F(DatabaseCommandsTest, DamagedAccessFileKeepsTheLibraryAndSaysWhy) {
    const Bytes sample = ReadBytes(TestData("jscs-sample.mdb"));
    const auto write = [&](const std::string& name, const Bytes& bytes) {
        std::ofstream(Home() / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return (Home() / name).string();
    };
    Bytes flipped = sample;
    flipped[8247] ^= 0xFF;
    const std::vector<std::pair<std::string, std::string>> cases = {
        {write("cut.mdb", Bytes(sample.begin(), sample.begin() + 28672)),
         ": 表 xc 记着 4 行, 只读到 0 行 (文件不完整或已损坏)\n"},
        {write("short-picture.mdb", Bytes(sample.begin(), sample.begin() + 36864)),
         ": 表 xc 第 3 行第 18 列的图片应有 4900 字节, 读到 4092 字节 (文件不完整或已损坏)\n"},
        {write("flipped.mdb", flipped), " (文件已损坏)\n"},
    };
    const std::string library = Quoinry("profiles").out;
    for (const auto& [file, reason] : cases) {
        const CommandRun run = Quoinry("db import-mdb '" + file + "' --replace");
        EXPECT_EQ(run.status, 1) << file;
        // Only the program's own line: none of libmdb's English.
        EXPECT_EQ(run.err, "quoinry db import-mdb: 无法读取Access文件 " + file + reason);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(Quoinry("profiles").out, library) << file;
    }
}

TEST_F(DatabaseCommandsTest, PasswordInTheAddressIsRefusedBeforeAnyConnection) {
    const std::string url =
        "postgresql://quoinry@127.0.0.1:5432/db?connect_timeout=5;password=SECRET";
    std::ofstream(Home() / "info.ini") << "[database]\r\nurl=" << url << "\r\n";
    for (const std::string& environment : {std::string(), "QUOINRY_DATABASE='" + url + "'"}) {
        const CommandRun run = Quoinry("stations", environment);
        EXPECT_EQ(run.status, 1) << environment;
        EXPECT_NE(run.err.find("数据库地址中不能写密码"), std::string::npos) << run.err;
    }
    EXPECT_FALSE(std::filesystem::exists(Home() / "mdb" / "jscs.db"));
}

// Each one would otherwise fall back to the local file, or hang.
TEST_F(DatabaseCommandsTest, SettingsFileThatCannotBeReadStopsEveryDatabaseCommand) {
    const auto ini = Home() / "info.ini";
    const std::string server = "[database]\nurl=postgresql://u@127.0.0.1:1/d\n";
    const std::vector<std::pair<std::string, std::function<void()>>> cases = {
        {"folder", [&] { std::filesystem::create_directory(ini); }},
        {"FIFO", [&] { ASSERT_EQ(mkfifo(ini.c_str(), 0600), 0); }},
        {"/dev/zero", [&] { std::filesystem::create_symlink("/dev/zero", ini); }},
        {"1 MB + 1 byte",
         [&] { std::ofstream(ini) << server << std::string((1 << 20) + 1 - server.size(), ';'); }},
        {"statement_timeout=0", [&] { std::ofstream(ini) << server << "statement_timeout=0\n"; }},
    };
    for (const auto& [name, make] : cases) {
        std::filesystem::remove_all(ini);
        make();
        const CommandRun run = Quoinry("stations");
        EXPECT_EQ(run.status, 1) << name;
        EXPECT_NE(run.err.find(ini.string()), std::string::npos) << name << ": " << run.err;
        EXPECT_FALSE(std::filesystem::exists(Home() / "mdb" / "jscs.db")) << name;
    }
}

TEST_F(DatabaseCommandsTest, SettingsFileWithoutReadPermissionIsAnError) {
    const auto ini = Home() / "info.ini";
    std::ofstream(ini) << "[database]\nurl=postgresql://u@127.0.0.1:1/d\n";
    std::filesystem::permissions(ini, std::filesystem::perms::owner_write);
    // Root reads every file: the command then runs as nobody, in a home nobody may use.
    std::string as_user;
    if (geteuid() == 0) {
        std::filesystem::permissions(Home(), std::filesystem::perms::all);
        as_user = "setpriv --reuid=65534 --regid=65534 --clear-groups";
    }
    const CommandRun run = Quoinry("stations", as_user);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(
        run.err.rfind("quoinry stations: 无法读取设置文件 " + ini.string() + ": 没有读取权限", 0),
        0u)
        << run.err;
    EXPECT_FALSE(std::filesystem::exists(Home() / "mdb" / "jscs.db"));
}

TEST_F(DatabaseCommandsTest, FileThatIsNoDatabaseIsExplained) {
    std::filesystem::create_directories(Home() / "mdb");
    std::ofstream(Home() / "mdb" / "jscs.db") << std::string(4096, 'x');
    const CommandRun run = Quoinry("stations");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find((Home() / "mdb" / "jscs.db").string()), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("这个文件不是数据库文件"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("file is not a database)\n"), std::string::npos) << run.err;
}

// The server process of the import's connection is stopped while the import waits for a lock
// the test holds; the import must give up within [database] statement_timeout.
TEST_F(DatabaseCommandsTest, ImportIntoAServerThatStopsAnsweringEndsWithAMessage) {
    if (!PostgresUrl())
        GTEST_SKIP() << "QUOINRY_TEST_PG_URL is not set: PostgreSQL run skipped";
    ScratchDatabase server(Backend::kPostgres);
    const auto& location = std::get<PostgresServer>(server.location());
    std::ofstream(Home() / "info.ini")
        << "[database]\nurl=postgresql://" << location.user << "@" << location.host << ":"
        << location.port << "/" << location.database
        << "?application_name=quoinry_frozen\nstatement_timeout=3\n";
    Connection holder;
    holder.Open(location);
    const std::vector<std::string> library = ListSeries(holder);
    Connection monitor;
    monitor.Open(location);

    int stopped = 0;
    std::future<CommandRun> import;
    holder.InTransaction([&] {
        holder.Execute("LOCK TABLE xc IN ACCESS EXCLUSIVE MODE");
        import = std::async(std::launch::async, [&] {
            return Quoinry("db import-mdb '" + TestData("jscs-sample.mdb").string() + "' --replace");
    });
    for (int tries = 0; tries < 200 && stopped == 0; ++tries) {
        const auto pids = FirstColumnTexts(
            monitor.Query("SELECT pid FROM pg_stat_activity WHERE application_name = "
                          "'quoinry_frozen' AND wait_event_type = 'Lock'"));
        if (!pids.empty() && kill(std::stoi(pids[0]), SIGSTOP) == 0)
            stopped = std::stoi(pids[0]);
        if (stopped == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
});
const CommandRun run = import.get();
if (stopped != 0)
    kill(stopped, SIGCONT);
ASSERT_NE(stopped, 0) << "the import's server process was not found or could not be stopped";
EXPECT_EQ(run.status, 1);
EXPECT_EQ(run.err.rfind("quoinry db import-mdb: 数据库服务器 " + location.host + ":" +
                            std::to_string(location.port) + " 在 3 秒内没有回答",
                        0),
          0u)
    << run.err;
EXPECT_EQ(ListSeries(holder), library) << "the cut transaction is rolled back";
}

}  // namespace
}  // namespace quoinry::db::testing
