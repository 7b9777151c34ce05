// The database commands of the quoinry executable, run as a user would.

#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <sstream>

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

    // `environment` is put before the command: "QUOINRY_DATABASE=... ".
    CommandRun Quoinry(const std::string& args, const std::string& environment = "") const {
        const auto err_file = home_->folder() / "stderr.txt";
        const std::string command = "env -u QUOINRY_DATABASE QUOINRY_HOME='" +
                                    home_->folder().string() + "' " + environment + " '" +
                                    QUOINRY_EXECUTABLE + "' " + args + " 2>'" + err_file.string() +
                                    "'";
        CommandRun run;
        FILE* pipe = popen(command.c_str(), "r");
        char buffer[4096];
        std::size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, n);
        const int status = pclose(pipe);
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::stringstream err;
        err << std::ifstream(err_file).rdbuf();
        run.err = err.str();
        return run;
    }

    std::filesystem::path Home() const { return home_->folder(); }

    std::unique_ptr<ScratchDatabase> home_;
};

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

}  // namespace
}  // namespace quoinry::db::testing
