#include "common/settings_file.h"

#include "platform/regular_file.h"

namespace quoinry {

std::optional<std::string> ReadSettingsFile(const std::filesystem::path& file) {
    platform::FileRead read = platform::ReadRegularFile(file, kSettingsFileLimit);
    std::string reason;
    switch (read.status) {
        case platform::FileReadStatus::kRead:
            return std::move(read.bytes);
        case platform::FileReadStatus::kMissing:
            return std::nullopt;
        case platform::FileReadStatus::kNotRegular:
            reason = "不是普通文件 (文件夹、设备或管道)";
            break;
        case platform::FileReadStatus::kTooLarge:
            reason = "文件大于 1 MB, 不像设置文件";
            break;
        case platform::FileReadStatus::kUnreadable:
            reason = "没有读取权限或读取出错 (" + read.error + ")";
            break;
    }
    throw SettingsFileError("无法读取设置文件 " + file.string() + ": " + reason +
                            "; 请检查这个文件的权限、类型和大小");
}

}  // namespace quoinry
