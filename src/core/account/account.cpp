#include "account/account.h"

namespace ventora::account {

std::string shown(const number& n) { return n ? format_double(n) : std::string("未输入"); }
std::string used(const number& n) { return format_double(value_or_zero(n)); }
std::string choice_text(const char* caption, bool chosen) {
    return chosen ? std::string(caption) : std::string("未选择");
}

}  // namespace ventora::account
