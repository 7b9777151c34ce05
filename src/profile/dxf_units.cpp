#include "profile/dxf_units.h"

#include "profile/section_error.h"

namespace quoinry::profile {

LengthUnit UnitOfInsunits(int code) {
    switch (code) {
        case 0:  // unitless: taken as millimetres
        case 4:
            return {1, ""};
        case 1:
            return {25.4, "英寸"};
        case 2:
            return {304.8, "英尺"};
        case 3:
            return {1609344, "英里"};
        case 5:
            return {10, "厘米"};
        case 6:
            return {1000, "米"};
        case 7:
            return {1e6, "千米"};
        case 8:
            return {25.4e-6, "微英寸"};
        case 9:
            return {0.0254, "密耳"};
        case 10:
            return {914.4, "码"};
        case 11:
            return {1e-7, "埃"};
        case 12:
            return {1e-6, "纳米"};
        case 13:
            return {1e-3, "微米"};
        case 14:
            return {100, "分米"};
        case 15:
            return {1e4, "十米"};
        case 16:
            return {1e5, "百米"};
        default:
            throw SectionError("图形单位($INSUNITS=" + std::to_string(code) +
                               ")不是可用的长度单位");
    }
}

}  // namespace quoinry::profile
