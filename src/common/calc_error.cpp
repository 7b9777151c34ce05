#include "common/calc_error.h"

namespace quoinry {

const char* Describe(ErrorKind kind) {
    switch (kind) {
        case ErrorKind::TypeMismatch:
            return "类型不匹配";
        case ErrorKind::DivisionByZero:
            return "除数为零";
        case ErrorKind::InvalidCall:
            return "无效的过程调用或参数";
        case ErrorKind::Overflow:
            return "溢出";
        case ErrorKind::PermissionDenied:
            return "权限被拒绝";
        case ErrorKind::PathFileAccess:
            return "路径/文件访问错误";
        case ErrorKind::InvalidInput:
            return "输入数据不符合要求";
        case ErrorKind::FileUnwritable:
            return "无法写入文件";
    }
    return "";
}

}  // namespace quoinry
