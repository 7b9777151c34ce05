#include "db/error_explanation.h"

#include <array>

#include "common/text.h"

namespace quoinry::db {
namespace {

struct Explanation {
    std::array<std::string_view, 6> patterns;  // lower-case parts of the driver's text
    std::string_view text;
};

// The first row with a matching pattern wins: a failed login and a timeout also say that the
// connection failed, so they come before it.
constexpr std::array kExplanations{
    Explanation{{"password authentication failed", "no password supplied", "authentication failed",
                 "no pg_hba.conf entry", "role \""},
                "数据库服务器拒绝登录 (用户名或密码不对): 请检查地址中的用户名和 ~/.pgpass 或 "
                "PGPASSWORD 中的密码"},
    Explanation{{"timeout", "timed out", "canceling statement due to"},
                "数据库服务器在规定的时间内没有回答 (超时): 请检查服务器和网络"},
    Explanation{{"file is not a database", "not a database"},
                "这个文件不是数据库文件: 请检查设置的数据库文件, 或用 quoinry db init --force "
                "重建"},
    Explanation{{"malformed", "corrupt"},
                "数据库文件已损坏: 请从备份恢复, 或用 quoinry db init "
                "--force 重建"},
    Explanation{{"readonly", "read-only", "read only"},
                "数据库是只读的, 不能写入: 请检查数据库文件和所在文件夹的写权限"},
    Explanation{
        {"database is locked", "table is locked", "busy", "could not obtain lock", "deadlock"},
        "数据库正被另一个程序或窗口占用 (已锁定): 请稍后再试"},
    Explanation{{"disk is full", "disk full", "no space left", "could not extend file"},
                "磁盘已满, 数据没有写入: 请腾出磁盘空间后再试"},
    Explanation{{"unable to open database file"},
                "无法打开数据库文件: 请检查路径和文件夹的读写权限"},
    Explanation{{"permission denied"},
                "没有权限: 请检查数据库文件的读写权限, 或服务器上这个用户的权限"},
    Explanation{{"does not exist"}, "服务器上没有这个数据库或表: 请检查地址中的数据库名"},
    Explanation{
        {"could not connect", "connection refused", "could not translate host",
         "server closed the connection", "no connection to the server", "connection to server"},
        "无法连接数据库服务器: 请检查服务器地址、端口、网络, 以及服务器是否在运行"},
};

bool Matches(const Explanation& explanation, std::string_view lower_text) {
    for (std::string_view pattern : explanation.patterns) {
        if (!pattern.empty() && lower_text.find(pattern) != std::string_view::npos)
            return true;
    }
    return false;
}

}  // namespace

std::string ExplainDatabaseError(std::string_view driver_text) {
    const std::string lower = AsciiLower(driver_text);
    std::string_view explanation = "数据库操作失败";
    for (const Explanation& candidate : kExplanations) {
        if (Matches(candidate, lower)) {
            explanation = candidate.text;
            break;
        }
    }
    if (driver_text.empty())
        return std::string(explanation);
    return std::string(explanation) + " (" + std::string(driver_text) + ")";
}

}  // namespace quoinry::db
