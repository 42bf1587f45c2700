// The account of a calculation: its inputs and every step, with the formula as the regulation
// writes it, the values substituted and the result, exactly as the calculation computed them.
// A calculation fills an account only when handed one; without it nothing is formatted.
//
// Formula texts use a small linear notation that a book renders as typeset text and a script
// reads as plain text:
//   X_{s}    subscript          d_{1}^{2}   superscript after a subscript
//   X^{0.82} superscript        √(…)        square root of the parenthesised term
//   ·        product            /           quotient (a renderer may set a fraction bar)
// Greek letters are written as themselves (ψ, φ, ρ, λ, δ).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "numbers/number.h"

namespace ventora::account {

// One input as the book's input table lists it.
struct input {
    std::string symbol;  // "d_{1}"
    std::string name;    // "安全阀喉径"
    std::string unit;    // "mm"; empty when dimensionless
    // The box's text as typed; absent when the caller has no text (a value given as a number).
    std::optional<std::string> text;
    number value;  // the value read; unset is shown "未输入"
    // For a choice rather than a number: the option chosen ("全启式安全阀"), or "未选择".
    std::string choice{};
    // Where a value filled in from a data source came from ("丙烷，T = 320 K；DIPPR 106 …").
    std::string source{};
};

// One step: a formula, a decision or a check.
struct step {
    std::string title;        // "排放面积"
    std::string formula;      // "A = 0.25·3.14·d_{1}^{2}"
    std::string substituted;  // "A = 0.25·3.14·50^{2} = 1962.5"
    std::string value;        // the result as the calculation writes it: "1962", "合格"
    std::string unit;         // "mm^{2}"
    std::string note;         // rounding or decision: "向下取整", "单精度保存", "临界流动"
};

struct account {
    std::string title;  // "安全泄放量", "安全阀", "爆破片", "选型与复核（参考）"
    std::vector<input> inputs;
    std::vector<step> steps;
    // A refused calculation: the check that refused it and its message. No result follows it.
    std::optional<std::string> refused_by;
    std::optional<std::string> refusal;
    // The closing line of a calculation that reached a result ("W_s = 5660 kg/h").
    std::string conclusion;

    bool refused() const { return refusal.has_value(); }
};

// The book's title block.
struct project_info {
    std::string project;   // 工程名称
    std::string equipment; // 设备名称
    std::string tag;       // 设备位号
    std::string drawing;   // 图号
    std::string designer, design_date;  // 设计
    std::string checker, check_date;    // 校核
    std::string approver, approve_date; // 审核
};

// A route: the relief rate, then the device that used its kept rate, then the sizing aid.
struct route_account {
    project_info project;
    account relief;
    std::optional<account> device;  // absent when the relief rate was refused or no device ran
    std::optional<account> sizing;  // the reference cross-check after a device that reached a result
    // The relief-system checks after the valve (泄放系统校核): each check's account in order, and
    // the verdict line naming every failing check and every check not made. Absent when none
    // were asked for.
    struct system_section {
        std::vector<account> checks;
        std::string verdict;
        // What the verdict line says, for a summary: a check failed; a check was not made.
        bool failed = false;
        bool incomplete = false;
    };
    std::optional<system_section> system;
};

// Writers for the calculations' accounts: a number as a message writes it, and a term that may
// have faulted (a division by zero, the root of a negative number) as "无法计算" (account/steps.h).
std::string shown(const number& n);        // unset is "未输入"
std::string used(const number& n);         // the value arithmetic uses: unset counts as 0
std::string choice_text(const char* caption, bool chosen);

}  // namespace ventora::account
