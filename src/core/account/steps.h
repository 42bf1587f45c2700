// What the calculations use to write their accounts.
#pragma once

#include <string>
#include <string_view>

#include "account/account.h"
#include "numbers/checked.h"

namespace ventora::account {

// A term of a formula as evaluated: its value, or "无法计算" when its evaluation faulted.
inline std::string term(const checked& c) {
    return c.faulted() ? std::string("无法计算") : format_double(c.value());
}

inline void add_number(account* acc, std::string_view symbol, std::string_view name,
                       std::string_view unit, const number& value) {
    if (acc)
        acc->inputs.push_back(
            {std::string(symbol), std::string(name), std::string(unit), std::nullopt, value, {}});
}

inline void add_choice(account* acc, std::string_view name, std::string_view choice) {
    if (acc)
        acc->inputs.push_back(
            {{}, std::string(name), {}, std::nullopt, std::nullopt, std::string(choice), {}});
}

inline void refuse(account* acc, std::string_view check, std::string_view message) {
    if (!acc) return;
    acc->refused_by = std::string(check);
    acc->refusal = std::string(message);
}

}  // namespace ventora::account
