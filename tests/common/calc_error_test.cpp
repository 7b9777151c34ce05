#include "common/calc_error.h"

#include <gtest/gtest.h>

namespace quoinry {
namespace {

TEST(CalcError, LineCarriesTheDescription) {
    EXPECT_EQ(ErrorLine(CalcError(ErrorKind::TypeMismatch)), "当前错误:类型不匹配");
    EXPECT_EQ(ErrorLine(CalcError(ErrorKind::DivisionByZero)), "当前错误:除数为零");
    EXPECT_EQ(ErrorLine(CalcError(ErrorKind::InvalidCall)), "当前错误:无效的过程调用或参数");
    EXPECT_EQ(ErrorLine(CalcError(ErrorKind::Overflow)), "当前错误:溢出");
    EXPECT_EQ(ErrorLine(CalcError(ErrorKind::PermissionDenied)), "当前错误:权限被拒绝");
    EXPECT_EQ(ErrorLine(CalcError(ErrorKind::PathFileAccess)), "当前错误:路径/文件访问错误");
}

}  // namespace
}  // namespace quoinry
