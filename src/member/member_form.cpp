#include "member/member_form.h"

namespace quoinry {

const MemberForm& VerticalMemberForm() {
    static const MemberForm form = {
        "三、门窗竖向受力杆件计算",
        "Hsk",
        {"Wsk1", "Wsk2"},
        "   Hsk:受力构件受荷单元高:",
        {"   Wsk1:受力构件第一受荷单元宽:", "   Wsk2:受力构件第二受荷单元宽:"},
        true};
    return form;
}

const MemberForm& HorizontalMemberForm() {
    static const MemberForm form = {
        "三、门窗横向受力杆件计算",
        "Wsk",
        {"Hsk1", "Hsk2"},
        "   Wsk:受力构件受荷单元宽:",
        {"   Hsk1:受力构件第一受荷单元高:", "   Hsk2:受力构件第二受荷单元高:"},
        false};
    return form;
}

const MemberForm& MemberFormOf(std::string_view text) {
    return text == "竖向杆件" ? VerticalMemberForm() : HorizontalMemberForm();
}

}  // namespace quoinry
