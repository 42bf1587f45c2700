// Hand-built routes for the book's tests and measurements: the worked values of the gas-storage
// tank (W_s = 2.83×10^-3·ρ·v·d² = 2.83e-3·10·20·100² = 5660 kg/h) and the full-lift safety valve
// for gas (d1 = 50: A = 0.25·3.14·50² = 1962.5, floored 1962 mm²; W = 12873 kg/h ≥ 10000: 合格),
// and refused routes. The texts are written here by hand, as a calculation fills them.
#pragma once

#include <cstdint>
#include <string>

#include "book/book.h"

namespace ventora::book::samples {

inline account::project_info project() {
    account::project_info p;
    p.project = "滨海石化储运工程";
    p.equipment = "压缩空气储罐";
    p.tag = "V-1203";
    p.drawing = "VT-2026-017";
    p.designer = "王工";
    p.design_date = "2026-12-01";
    p.checker = "李工";
    p.check_date = "2026-12-02";
    p.approver = "赵工";
    p.approve_date = "2026-12-03";
    return p;
}

inline account::account relief_tank() {
    account::account a;
    a.title = "安全泄放量";
    a.inputs = {{"ρ", "泄放压力下的气体密度", "kg/m^{3}", "10", 10.0},
                {"v", "进口管内气体流速", "m/s", "20", 20.0},
                {"d", "进口管内径", "mm", "100", 100.0},
                {"G", "最大生产能力", "kg/h", std::nullopt, std::nullopt}};
    a.steps = {{"气体储罐的安全泄放量", "W_{s} = 2.83×10^{-3}·ρ·v·d^{2}",
                "W_{s} = 2.83×10^{-3}·10·20·100^{2} = 5660", "5660", "kg/h", ""},
               {"保留的泄放量", "W_{s} = int(W_{s})", "W_{s} = int(5660)", "5660", "kg/h",
                "向下取整"}};
    a.conclusion = "W_{s} = 5660 kg/h";
    return a;
}

inline account::account valve_full_lift(bool pass) {
    account::account a;
    a.title = "安全阀";
    a.inputs = {
        {"d_{1}", "安全阀喉径", "mm", "50", 50.0}, {"C", "气体特性系数", "", "356", 356.0},
        {"P_{s}", "整定压力", "MPa", "1", 1.0},    {"M", "气体摩尔质量", "kg/kmol", "29", 29.0},
        {"T", "气体温度", "K", "300", 300.0},      {"Z", "压缩系数", "", "1", 1.0},
        {"P_{o}", "出口侧压力", "MPa", "0.1", 0.1}};
    a.steps = {{"排放面积", "A = 0.25·3.14·d_{1}^{2}", "A = 0.25·3.14·50^{2} = 1962.5", "1962",
                "mm^{2}", "向下取整"},
               {"排放能力", "W = 7.6×10^{-2}·C·K·P_{d}·A·√(M/(Z·T))",
                "W = 7.6×10^{-2}·356·0.65·1.2·1962·√(29/(1·300))", "12873", "kg/h", ""},
               {"排放能力校核", "W ≥ W_{s}", pass ? "12873 ≥ 10000" : "12873 < 20000",
                pass ? "合格" : "不合格", "", pass ? "W/W_{s} = 1.2873" : "W/W_{s} = 0.64365"}};
    a.conclusion = pass ? "W = 12873 kg/h ≥ W_{s} = 10000 kg/h，安全阀合格"
                        : "W = 12873 kg/h < W_{s} = 20000 kg/h，安全阀不合格";
    return a;
}

inline account::account sizing_reference() {
    account::account a;
    a.title = "选型与复核（参考）";
    a.steps = {{"所需最小排放面积", "A_{min} = A·W_{s}/W", "A_{min} = 1962·10000/12873 = 1524.2",
                "1524.2", "mm^{2}", ""}};
    return a;
}

// The valve route of the worked values, checked against 10000 kg/h (pass) or 20000 (fail).
inline chapter valve_route(bool pass = true, std::uint64_t line = 0) {
    chapter c;
    c.line = line;
    c.route.project = project();
    c.route.relief = relief_tank();
    c.route.device = valve_full_lift(pass);
    c.route.sizing = sizing_reference();
    c.result.relief.W_s = 5660.0;
    c.result.relief.stored = 5660.0F;
    valve::valve_press_result v;
    v.status = valve::press_status::checked;
    v.K = 0.65;
    v.area = 1962.0;
    v.capacity = 12873.0;
    v.check = pass ? valve::verdict::pass : valve::verdict::fail;
    c.result.valve = v;
    return c;
}

// The relief rate refused: no device ran, no verdict exists.
inline chapter refused_route(std::uint64_t line = 0) {
    chapter c;
    c.line = line;
    c.route.project = project();
    c.route.relief.title = "安全泄放量";
    c.route.relief.inputs = {{"ρ", "泄放压力下的气体密度", "kg/m^{3}", "abc", std::nullopt}};
    c.route.relief.refused_by = "输入参数检查";
    c.route.relief.refusal = relief::msg_compressed_bad;
    c.result.relief.refusal = relief::msg_compressed_bad;
    return c;
}

// The relief rate computed, the valve refused for want of a valve type.
inline chapter valve_refused_route(std::uint64_t line = 0) {
    chapter c = valve_route(true, line);
    c.route.device->steps.clear();
    c.route.device->conclusion.clear();
    c.route.device->refused_by = "安全阀形式";
    c.route.device->refusal = valve::msg_no_valve_type;
    c.route.sizing.reset();
    valve::valve_press_result v;
    v.status = valve::press_status::no_valve_type;
    v.messages = {valve::msg_no_valve_type};
    c.result.valve = v;
    return c;
}

inline chapter error_line(std::uint64_t line, std::string message) {
    chapter c;
    c.line = line;
    c.error = std::move(message);
    return c;
}

// The whole last cell of route `route`'s summary row in the book's HTML ("合格" is a part of
// "不合格", so the cell is compared whole); "<no row>" when there is none.
inline std::string summary_verdict(const QString& html, int route) {
    const qsizetype start = html.indexOf(QStringLiteral("<tr><td>%1</td>").arg(route));
    const qsizetype end = start < 0 ? -1 : html.indexOf(QStringLiteral("</td></tr>"), start);
    if (end < 0) return "<no row>";
    const qsizetype last_cell = html.lastIndexOf(QStringLiteral("<td>"), end) + 4;
    return html.mid(last_cell, end - last_cell).toStdString();
}

}  // namespace ventora::book::samples
