#include "system/system_calc.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

#include "account/steps.h"
#include "numbers/checked.h"
#include "regulation/discharge.h"

namespace ventora::system {
namespace {

using valve::valve_medium;

constexpr double pi = 3.14159265358979323846;

std::string f(double x) { return format_double(x); }
std::string f(const number& x) { return account::shown(x); }

void add_step(account::account* acc, std::string title, std::string formula,
              std::string substituted, std::string value, std::string unit,
              std::string note = {}) {
    if (acc)
        acc->steps.push_back({std::move(title), std::move(formula), std::move(substituted),
                              std::move(value), std::move(unit), std::move(note)});
}

void add_input(account::account* acc, const char* symbol, const char* name, const char* unit,
               const number& value, std::string source = {}) {
    if (acc)
        acc->inputs.push_back({symbol, name, unit, std::nullopt, value, {}, std::move(source)});
}

bool positive(const number& x) { return x && std::isfinite(*x) && *x > 0.0; }

// Names a missing or meaningless value; the check is not made.
void need(check& c, bool ok, const char* what) {
    if (!ok) c.missing.emplace_back(what);
}

// A check that lacks values ends here: no verdict, the missing values named.
bool not_made(check& c, account::account* acc) {
    if (c.missing.empty()) return false;
    c.result = outcome::not_made;
    if (acc) {
        std::string list;
        for (const auto& m : c.missing) list += (list.empty() ? "" : "、") + m;
        account::refuse(acc, "缺少输入", "缺少或无效 " + list);
        acc->conclusion = "未校核（缺少 " + list + "）";
    }
    return true;
}

void refuse_check(check& c, account::account* acc, const std::string& by, const std::string& why) {
    c.result = outcome::not_made;
    c.refusal = why;
    if (acc) {
        account::refuse(acc, by, why);
        acc->conclusion = "未校核：" + why;
    }
}

void verdict_step(check& c, account::account* acc, bool holds, std::string title,
                  std::string formula, std::string substituted, std::string note = {}) {
    c.result = holds ? outcome::pass : outcome::fail;
    add_step(acc, std::move(title), std::move(formula), std::move(substituted),
             outcome_text(c.result), {}, std::move(note));
}

int valve_count(const number& n) {
    if (!n) return 1;
    return static_cast<int>(*n);
}

bool valid_count(const number& n) {
    return !n || (std::isfinite(*n) && *n >= 1.0 && *n <= 1000.0 && std::floor(*n) == *n);
}

double W_of(const system_input& in) { return value_or_zero(in.press.capacity); }
double Ws_of(const system_input& in) { return static_cast<double>(in.W_s); }

const char* medium_name(valve_medium m) {
    switch (m) {
        case valve_medium::gas: return "气体";
        case valve_medium::saturated_steam: return "饱和蒸汽";
        case valve_medium::liquid: return "液体";
    }
    return "";
}

// The valve's capacity: a press that reached W > 0 with a medium.
bool has_capacity(const system_input& in) {
    return in.press.status == valve::press_status::checked && in.valve.medium && W_of(in) > 0.0;
}

void add_route_inputs(account::account* acc, const system_input& in) {
    add_input(acc, "W", "单台安全阀排放能力", "kg/h", in.press.capacity);
    add_input(acc, "W_{s}", "容器安全泄放量", "kg/h", Ws_of(in));
}

// The line's figures every line check shares: the friction factor and K = f·L/D + ΣK.
struct line_figures {
    double D = 0, L = 0, K_sum = 0, eps = 0, area = 0, G = 0;
    std::optional<friction> fr;
    double K = 0;
};

void line_inputs(account::account* acc, const line& l, const char* which) {
    if (!acc) return;
    const std::string w = which;
    acc->inputs.push_back({"D", w + "管内径", "mm", std::nullopt, l.D, {}, {}});
    acc->inputs.push_back({"L", w + "管长度", "m", std::nullopt, l.L, {}, {}});
    acc->inputs.push_back({"ΣK", w + "管件局部阻力系数之和", "", std::nullopt, l.K_sum, {}, {}});
    acc->inputs.push_back({"ε", "管壁绝对粗糙度", "mm", std::nullopt,
                           l.roughness ? l.roughness : number(default_roughness), {},
                           l.roughness ? std::string() : std::string("未输入，取默认值 0.045 mm（商品钢管）")});
}

void line_requirements(check& c, const line& l, const medium_data& m) {
    need(c, positive(l.D), "D（管内径）");
    need(c, l.L && *l.L >= 0.0, "L（管长度）");
    need(c, l.K_sum && *l.K_sum >= 0.0, "ΣK（局部阻力系数之和）");
    need(c, !l.roughness || *l.roughness >= 0.0, "ε（粗糙度）");
    need(c, positive(m.mu), "μ（黏度）");
}

// What a line's flow needs of the medium: ρ for a liquid (typed, or the valve's), ρ_1 at the
// relieving state for steam, M, T and Z for a gas.
void flow_requirements(check& c, const system_input& in) {
    const auto medium = in.valve.medium;
    if (medium == valve_medium::liquid) {
        need(c, positive(in.medium.rho) || positive(in.valve.capacity.rho), "ρ（液体密度）");
    } else if (medium == valve_medium::saturated_steam) {
        need(c, positive(in.medium.rho), "ρ_{1}（泄放状态下蒸汽密度）");
    } else if (medium == valve_medium::gas) {
        need(c, positive(in.valve.capacity.M) && positive(in.valve.capacity.T) &&
                    positive(in.valve.capacity.Z),
             "M、T、Z（气体参数）");
    }
}

line_figures line_steps(account::account* acc, const line& l, double W, double mu) {
    line_figures g;
    g.D = *l.D;
    g.L = *l.L;
    g.K_sum = *l.K_sum;
    g.eps = l.roughness.value_or(default_roughness);
    g.area = pi / 4.0 * (g.D / 1000.0) * (g.D / 1000.0);
    g.G = W / 3600.0 / g.area;
    const double Re = g.G * (g.D / 1000.0) / (mu / 1000.0);
    g.fr = darcy_friction(Re, g.eps / g.D);
    add_step(acc, "流通面积", "A_{p} = π/4·D^{2}",
             "A_{p} = π/4·(" + f(g.D) + "/1000)^{2}", f(g.area), "m^{2}");
    add_step(acc, "质量流速", "G = W/3600/A_{p}",
             "G = " + f(W) + "/3600/" + f(g.area), f(g.G), "kg/(m^{2}·s)");
    add_step(acc, "雷诺数", "Re = G·D/μ",
             "Re = " + f(g.G) + "·" + f(g.D) + "/1000/(" + f(mu) + "/1000)", f(Re), {});
    if (!g.fr) return g;
    switch (g.fr->regime) {
        case flow_regime::laminar:
            add_step(acc, "摩擦系数（Darcy）", "λ = 64/Re", "λ = 64/" + f(Re), f(g.fr->f), {},
                     "层流（Re < 2000）");
            break;
        case flow_regime::transition:
        case flow_regime::turbulent:
            add_step(acc, "摩擦系数（Darcy）", "1/√λ = −2·lg(ε/(3.7·D) + 2.51/(Re·√λ))",
                     "1/√λ = −2·lg(" + f(g.eps) + "/(3.7·" + f(g.D) + ") + 2.51/(" + f(Re) +
                         "·√λ))",
                     f(g.fr->f), {},
                     std::string("Colebrook 式迭代求解（") + std::to_string(g.fr->iterations) +
                         " 次）" +
                         (g.fr->regime == flow_regime::transition
                              ? "；2000 ≤ Re < 4000 为过渡区，按湍流计算（阻力偏大，偏安全）"
                              : ""));
            break;
    }
    g.K = g.fr->f * g.L / (g.D / 1000.0) + g.K_sum;
    add_step(acc, "总阻力系数", "K = λ·L/D + ΣK",
             "K = " + f(g.fr->f) + "·" + f(g.L) + "/(" + f(g.D) + "/1000) + " + f(g.K_sum),
             f(g.K), {});
    return g;
}

// The squared isothermal speed c² = P/ρ of the medium (m²/s²): Z·R·T/M for a gas, P_1/ρ_1 for
// steam from its density at the relieving state.
std::optional<double> isothermal_c2(const system_input& in, double P1_Pa, account::account* acc) {
    const auto medium = *in.valve.medium;
    if (medium == valve_medium::gas) {
        const double Z = value_or_zero(in.valve.capacity.Z), T = value_or_zero(in.valve.capacity.T),
                     M = value_or_zero(in.valve.capacity.M);
        const double c2 = Z * gas_constant * T / M;
        add_step(acc, "等温声速平方", "c^{2} = Z·R·T/M",
                 "c^{2} = " + f(Z) + "·8314.46·" + f(T) + "/" + f(M), f(c2), "m^{2}/s^{2}",
                 "等温流动，沿程温度取泄放温度 T");
        return c2;
    }
    const double rho = value_or_zero(in.medium.rho);
    const double c2 = P1_Pa / rho;
    add_step(acc, "等温声速平方", "c^{2} = P_{1}/ρ_{1}", "c^{2} = " + f(P1_Pa) + "/" + f(rho),
             f(c2), "m^{2}/s^{2}", "等温流动，ρ_{1} 为泄放状态下蒸汽密度");
    return c2;
}

// The API 520 Part I balanced-bellows curves, (gauge back pressure as % of the gauge set
// pressure, factor), linear between the points. The points are the curves' digitised form
// published with the Python library `fluids` (fluids.safety_valve, Kb_10_over_x/y and Kw_x/y,
// "digitised from API 520 Part I"): K_b for gas and vapour at 10 % overpressure, 1 up to 30 %;
// K_w for liquid, 1 up to 15 %. Both curves end at 50 %. The digitised K_b stops at 49.6715 %:
// the last segment is carried on to the curve's published end at 50 % (0.689552, below the last
// digitised 0.695076, so the smaller and safer factor), and the curve starts from 1 at 30 %
// (the digitisation's first point 30.0263 % is 0.998106).
struct point {
    double x, y;
};
constexpr std::array<point, 49> K_b_curve{{
    {0.0, 1.0}, {30.0, 1.0}, {30.0263, 0.998106}, {30.6176, 0.995265}, {31.1432, 0.99053},
    {31.6689, 0.985795}, {32.1945, 0.981061}, {32.6544, 0.975379}, {33.18, 0.969697}, {33.7057,
    0.963068}, {34.1656, 0.957386}, {34.6255, 0.950758}, {35.0854, 0.945076}, {35.5453,
    0.938447}, {36.0053, 0.930871}, {36.4652, 0.925189}, {36.9251, 0.918561}, {37.385,
    0.910985}, {37.8449, 0.904356}, {38.2392, 0.897727}, {38.6334, 0.891098}, {39.0276,
    0.883523}, {39.4875, 0.876894}, {39.9474, 0.870265}, {40.4074, 0.862689}, {40.8016,
    0.856061}, {41.1958, 0.848485}, {41.59, 0.840909}, {42.0499, 0.83428}, {42.4442, 0.827652},
    {42.8384, 0.820076}, {43.2326, 0.8125}, {43.6925, 0.805871}, {44.0867, 0.798295}, {44.4809,
    0.79072}, {44.8752, 0.783144}, {45.2694, 0.775568}, {45.6636, 0.768939}, {46.0578,
    0.762311}, {46.452, 0.754735}, {46.8463, 0.747159}, {47.2405, 0.739583}, {47.6347,
    0.732008}, {48.0289, 0.724432}, {48.4231, 0.716856}, {48.883, 0.70928}, {49.2773, 0.701705},
    {49.6715, 0.695076}, {50.0, 0.689552},
}};
constexpr std::array<point, 54> K_w_curve{{
    {0.0, 1.0}, {15.0, 1}, {16.5493, 0.996283}, {17.3367, 0.992565}, {18.124, 0.987918},
    {18.8235, 0.982342}, {19.5231, 0.976766}, {20.1351, 0.97119}, {20.8344, 0.964684}, {21.4463,
    0.958178}, {22.0581, 0.951673}, {22.9321, 0.942379}, {23.5439, 0.935874}, {24.1556,
    0.928439}, {24.7674, 0.921933}, {25.0296, 0.919145}, {25.6414, 0.912639}, {26.2533,
    0.906134}, {26.8651, 0.899628}, {27.7393, 0.891264}, {28.3511, 0.884758}, {28.9629,
    0.878253}, {29.6623, 0.871747}, {29.9245, 0.868959}, {30.5363, 0.862454}, {31.2357,
    0.855948}, {31.8475, 0.849442}, {32.7217, 0.841078}, {33.3336, 0.834572}, {34.0329,
    0.828067}, {34.6448, 0.821561}, {34.8196, 0.819703}, {35.4315, 0.814126}, {36.1308,
    0.806691}, {36.7428, 0.801115}, {37.7042, 0.790892}, {38.3162, 0.785316}, {39.0154,
    0.777881}, {39.7148, 0.771375}, {40.3266, 0.76487}, {40.9384, 0.758364}, {41.6378,
    0.751859}, {42.7742, 0.740706}, {43.386, 0.734201}, {43.9978, 0.727695}, {44.6098,
    0.722119}, {45.2216, 0.715613}, {45.921, 0.709108}, {46.5329, 0.702602}, {47.7567, 0.69052},
    {48.3685, 0.684015}, {49.0679, 0.677509}, {49.6797, 0.671004}, {50.0, 0.666357},
}};
std::optional<double> on_curve(const point* pts, std::size_t n, double percent) {
    if (!(percent >= 0.0) || percent > pts[n - 1].x) return std::nullopt;
    if (percent <= pts[0].x) return pts[0].y;
    for (std::size_t i = 1; i < n; ++i) {
        if (percent <= pts[i].x) {
            const double t = (percent - pts[i - 1].x) / (pts[i].x - pts[i - 1].x);
            return pts[i - 1].y + t * (pts[i].y - pts[i - 1].y);
        }
    }
    return std::nullopt;
}

// Inputs near the ends of the double range (1E+300 typed in a box) can carry a figure beyond it:
// such a check is refused rather than shown with "INF" or a verdict on it.
template <class R>
void guard_range(R& r, account::account* acc, std::initializer_list<number*> figures) {
    bool finite = true;
    for (const number* x : figures) finite = finite && (!*x || std::isfinite(**x));
    if constexpr (requires { r.fr; }) {
        if (r.fr) finite = finite && std::isfinite(r.fr->f) && std::isfinite(r.fr->Re);
    }
    if (finite) return;
    for (number* x : figures) x->reset();
    if constexpr (requires { r.fr; }) r.fr.reset();
    r.result = outcome::not_made;
    r.refusal = "数值超出计算范围（输入值过大或过小）";
    if (acc) {
        acc->steps.clear();
        account::refuse(acc, "数值范围", *r.refusal);
        acc->conclusion = "未校核：" + *r.refusal;
    }
}

}  // namespace

std::optional<double> bellows_K_b(double percent) {
    return on_curve(K_b_curve.data(), K_b_curve.size(), percent);
}
std::optional<double> bellows_K_w(double percent) {
    return on_curve(K_w_curve.data(), K_w_curve.size(), percent);
}

const char* outcome_text(outcome o) {
    switch (o) {
        case outcome::pass: return "合格";
        case outcome::fail: return "不合格";
        case outcome::not_made: return "未校核";
    }
    return "";
}

const char* outcome_code(outcome o) {
    switch (o) {
        case outcome::pass: return "pass";
        case outcome::fail: return "fail";
        case outcome::not_made: return "not_made";
    }
    return "";
}

// ---------------------------------------------------------------------------------------------
// Several identical valves: n·W ≥ W_s (equality passes). n_min is the smallest whole n that
// covers W_s; for the chosen n each valve needs A_min = A·W_s/(n·W) (the capacity is proportional
// to the area for every medium), a full-lift throat d_1 = √(A_min/(0.25·3.14)), and the smallest
// throat in 0.1 mm steps from there whose own capacity, by the valve calculation with its
// rounding, covers W_s.
static valves_result check_valves_made(const system_input& in, account::account* acc) {
    valves_result r;
    if (acc) acc->title = "多台安全阀";
    add_input(acc, "n", "安全阀台数（同规格、同整定压力）", "台", in.n ? in.n : number(1.0),
              in.n ? std::string() : std::string("未输入，按 1 台"));
    add_route_inputs(acc, in);
    add_input(acc, "A", "单台安全阀排放面积", "mm^{2}", in.press.area);
    need(r, has_capacity(in), "W（安全阀排放能力，须先完成安全阀计算）");
    need(r, valid_count(in.n), "n（台数，1 至 1000 的整数）");
    need(r, in.W_s > 0.0F, "W_{s}（安全泄放量）");
    if (not_made(r, acc)) return r;
    r.n = valve_count(in.n);
    const double W = W_of(in), W_s = Ws_of(in);
    r.total = r.n * W;
    add_step(acc, "总排放能力", "ΣW = n·W", "ΣW = " + std::to_string(r.n) + "·" + f(W),
             f(r.total), "kg/h");
    verdict_step(r, acc, *r.total >= W_s, "校核", "ΣW ≥ W_{s}",
                 f(r.total) + (*r.total >= W_s ? " ≥ " : " < ") + f(W_s));
    // The smallest n: from the quotient, then corrected so that the product itself decides.
    // Beyond a million valves there is no answer worth giving (and whole steps stop counting).
    double n_min = std::ceil(W_s / W);
    if (n_min < 1.0) n_min = 1.0;
    if (n_min <= 1e6) {
        while (n_min * W < W_s) n_min += 1.0;
        while (n_min > 1.0 && (n_min - 1.0) * W >= W_s) n_min -= 1.0;
        r.n_min = static_cast<int>(n_min);
    }
    add_step(acc, "所选喉径所需的最少台数", "n_{min} = ⌈W_{s}/W⌉",
             "n_{min} = ⌈" + f(W_s) + "/" + f(W) + "⌉", r.n_min ? std::to_string(*r.n_min) : "无结果",
             "台");
    const double A = value_or_zero(in.press.area);
    if (A > 0.0) {
        r.A_min = A * W_s / (r.n * W);
        add_step(acc, "n 台时单台所需最小排放面积", "A_{min} = A·W_{s}/(n·W)",
                 "A_{min} = " + f(A) + "·" + f(W_s) + "/(" + std::to_string(r.n) + "·" + f(W) + ")",
                 f(r.A_min), "mm^{2}", "排放能力与排放面积成正比");
    }
    if (r.A_min && in.valve.type == valve::valve_type::full_lift) {
        r.d1_min = std::sqrt(*r.A_min / regulation::full_lift_area_factor);
        add_step(acc, "n 台时所需最小喉径", "d_{1min} = √(A_{min}/(0.25·3.14))",
                 "d_{1min} = √(" + f(r.A_min) + "/(0.25·3.14))", f(r.d1_min), "mm",
                 "由 A = 0.25·3.14·d_{1}^{2} 反算");
        // The valve calculation floors the area and the capacity: step up by 0.1 mm until the
        // throat's own capacity covers W_s.
        double d = std::ceil(*r.d1_min * 10.0 - 1e-9) / 10.0;
        for (int i = 0; i < 50; ++i, d = std::round(d * 10.0 + 1.0) / 10.0) {
            const auto a = valve::valve_flow_area(valve::valve_type::full_lift, std::nullopt, d,
                                                  std::nullopt, std::nullopt, std::nullopt);
            const number Wd =
                valve::valve_discharge_capacity(*in.valve.medium, a.K, a.A, in.valve.capacity);
            if (value_or_zero(Wd) > 0.0 && r.n * *Wd >= W_s) {
                r.d1_chosen = d;
                r.W_chosen = Wd;
                add_step(acc, "取整后的喉径（0.1 mm）", "n·W(d_{1}) ≥ W_{s}",
                         "d_{1} = " + f(d) + " mm：A = " + f(a.A) + " mm^{2}，W = " + f(Wd) +
                             " kg/h，" + std::to_string(r.n) + "·" + f(Wd) + " = " +
                             f(r.n * *Wd) + " ≥ " + f(W_s),
                         f(d), "mm", "按安全阀计算本身的取整复算");
                break;
            }
        }
    }
    if (acc)
        acc->conclusion = std::to_string(r.n) + " 台，ΣW = " + f(r.total) + " kg/h，W_{s} = " +
                          f(W_s) + " kg/h，" + outcome_text(r.result);
    return r;
}

// ---------------------------------------------------------------------------------------------
// A bursting disc under each valve: the combination passes n·W·F_d, F_d = 0.9 unless a certified
// factor (0 < F_d ≤ 1) is typed; checked against W_s.
static disc_result check_disc_made(const system_input& in, const number& total, account::account* acc) {
    disc_result r;
    if (acc) acc->title = "安全阀前设爆破片";
    r.certified = in.F_d.has_value();
    add_input(acc, "F_{d}", "爆破片与安全阀组合系数", "", in.F_d ? in.F_d : number(default_combination_factor),
              r.certified ? std::string("经认证的组合系数") : std::string("未输入认证值，取 0.9"));
    add_input(acc, "ΣW", "安全阀总排放能力", "kg/h", total);
    add_input(acc, "W_{s}", "容器安全泄放量", "kg/h", Ws_of(in));
    need(r, !in.F_d || (*in.F_d > 0.0 && *in.F_d <= 1.0), "F_{d}（组合系数，0 < F_{d} ≤ 1）");
    need(r, positive(total), "ΣW（安全阀总排放能力）");
    need(r, in.W_s > 0.0F, "W_{s}（安全泄放量）");
    if (not_made(r, acc)) return r;
    r.F_d = in.F_d.value_or(default_combination_factor);
    r.capacity = *total * r.F_d;
    add_step(acc, "组合排放能力", "W_{c} = ΣW·F_{d}", "W_{c} = " + f(total) + "·" + f(r.F_d),
             f(r.capacity), "kg/h", r.certified ? "" : "F_{d} 取默认值 0.9");
    const double W_s = Ws_of(in);
    verdict_step(r, acc, *r.capacity >= W_s, "校核", "W_{c} ≥ W_{s}",
                 f(r.capacity) + (*r.capacity >= W_s ? " ≥ " : " < ") + f(W_s));
    if (acc)
        acc->conclusion = "W_{c} = " + f(r.capacity) + " kg/h，" + std::string(outcome_text(r.result));
    return r;
}

// ---------------------------------------------------------------------------------------------
// The inlet line at the valve's capacity W (not W_s), from the vessel at the relieving pressure
// P_1 = P_d: the loss as a percentage of the set pressure, ≤ 3 % passes. Liquid:
// ΔP = K·ρ·v²/2; gas and steam: isothermal compressible flow.
static line_result check_inlet_made(const system_input& in, account::account* acc) {
    line_result r;
    if (acc) acc->title = "进口管线压力损失";
    const line l = in.inlet.value_or(line{});
    line_inputs(acc, l, "进口");
    add_input(acc, "μ", "介质黏度", "mPa·s", in.medium.mu, in.medium.source);
    add_input(acc, "P_{s}", "整定压力", "MPa", in.valve.capacity.Ps);
    add_route_inputs(acc, in);
    need(r, has_capacity(in), "W（安全阀排放能力）");
    line_requirements(r, l, in.medium);
    need(r, positive(in.valve.capacity.Ps), "P_{s}（整定压力）");
    const auto medium = in.valve.medium;
    flow_requirements(r, in);
    if (medium == valve_medium::liquid || medium == valve_medium::saturated_steam)
        add_input(acc, "ρ", medium == valve_medium::liquid ? "液体密度" : "泄放状态下蒸汽密度",
                  "kg/m^{3}", medium == valve_medium::liquid && !in.medium.rho ? in.valve.capacity.rho
                                                                              : in.medium.rho);
    if (not_made(r, acc)) return r;
    const double W = W_of(in), Ps = *in.valve.capacity.Ps;
    const line_figures g = line_steps(acc, l, W, *in.medium.mu);
    if (!g.fr) {
        refuse_check(r, acc, "摩擦系数", "无法求摩擦系数（Re 或粗糙度无意义）");
        return r;
    }
    r.fr = g.fr;
    r.K_total = g.K;
    const double P1 = value_or_zero(valve::discharge_pressure(*medium, in.valve.capacity.Ps));
    add_step(acc, "管线起点压力（泄放压力，绝压）", "P_{1} = P_{d}", "P_{1} = " + f(P1), f(P1), "MPa",
             medium_name(*medium) + std::string("：按安全阀计算的排放压力"));
    double dP = 0.0;
    if (*medium == valve_medium::liquid) {
        const double rho = in.medium.rho ? *in.medium.rho : *in.valve.capacity.rho;
        r.velocity = g.G / rho;
        dP = g.K * rho * *r.velocity * *r.velocity / 2.0 / 1e6;
        add_step(acc, "流速", "v = G/ρ", "v = " + f(g.G) + "/" + f(rho), f(r.velocity), "m/s");
        add_step(acc, "压力损失", "ΔP = K·ρ·v^{2}/2", "ΔP = " + f(g.K) + "·" + f(rho) + "·" +
                 f(r.velocity) + "^{2}/2/10^{6}", f(dP), "MPa", "不计位差");
    } else {
        const double P1_Pa = P1 * 1e6;
        const auto c2 = isothermal_c2(in, P1_Pa, acc);
        r.velocity = g.G * *c2 / P1_Pa;
        add_step(acc, "起点流速", "v_{1} = G·c^{2}/P_{1}", "v_{1} = " + f(g.G) + "·" + f(*c2) +
                 "/" + f(P1_Pa), f(r.velocity), "m/s");
        const isothermal_result iso = isothermal_from_inlet(P1_Pa, g.G, *c2, g.K);
        if (iso.choked) {
            r.choked = true;
            r.W_max = iso.G_max * g.area * 3600.0;
            r.P_choke = iso.P_choke / 1e6;
            add_step(acc, "流动状态", "P_{1}^{2} − P_{2}^{2} = G^{2}·c^{2}·(K + 2·ln(P_{1}/P_{2}))",
                     "G = " + f(g.G) + " kg/(m^{2}·s) 时无解", "阻塞流动", {},
                     "管线最大通过能力 W_{max} = " + f(r.W_max) + " kg/h < W，管端压力 P^{*} = G·c = " +
                         f(r.P_choke) + " MPa（绝压）");
            r.dP = P1 - *r.P_choke;
            r.percent = *r.dP / Ps * 100.0;
            verdict_step(r, acc, false, "校核", "管线阻塞，不能以 W 排放",
                         "W = " + f(W) + " > W_{max} = " + f(r.W_max),
                         "阻塞时至少损失 " + f(r.percent) + " %（至阻塞点）");
            if (acc) acc->conclusion = "进口管线阻塞，不合格";
            return r;
        }
        dP = (iso.P_in - iso.P_out) / 1e6;
        add_step(acc, "管线终点压力（等温可压缩流动）",
                 "P_{1}^{2} − P_{2}^{2} = G^{2}·c^{2}·(K + 2·ln(P_{1}/P_{2}))",
                 "P_{2} = " + f(iso.P_out / 1e6) + " MPa（迭代求解）", f(iso.P_out / 1e6), "MPa",
                 "未阻塞：G·c = " + f(g.G * std::sqrt(*c2) / 1e6) + " MPa < P_{2}");
        add_step(acc, "压力损失", "ΔP = P_{1} − P_{2}",
                 "ΔP = " + f(P1) + " − " + f(iso.P_out / 1e6), f(dP), "MPa");
    }
    r.dP = dP;
    r.percent = dP / Ps * 100.0;
    add_step(acc, "占整定压力的百分比", "ΔP/P_{s}·100", f(dP) + "/" + f(Ps) + "·100",
             f(r.percent), "%");
    const bool ok = dP <= inlet_loss_limit * Ps;
    verdict_step(r, acc, ok, "校核", "ΔP ≤ 3 %·P_{s}",
                 f(dP) + (ok ? " ≤ " : " > ") + "0.03·" + f(Ps) + " = " + f(inlet_loss_limit * Ps));
    if (acc)
        acc->conclusion = "进口管线压力损失 " + f(r.percent) + " %，" + outcome_text(r.result);
    return r;
}

// ---------------------------------------------------------------------------------------------
// The outlet line at W to its end at P_e (the atmosphere unless typed): the pressure at the
// valve's outlet and the built-up back pressure P_v − P_e. Conventional valve: ≤ 10 % of the set
// pressure. Balanced bellows: the total gauge back pressure P_v − 0.1013 as a percentage of the
// set pressure gives K_b (gas, steam) or K_w (liquid) from API 520 Part I's curves; beyond their
// 50 % refused. The corrected capacity n·W·F_d·K_b is checked against W_s.
static backpressure_result check_outlet_made(const system_input& in, double F_d, account::account* acc) {
    backpressure_result r;
    if (acc) acc->title = "出口管线背压";
    const line l = in.outlet.value_or(line{});
    if (acc) account::add_choice(acc, "安全阀结构", in.bellows ? "平衡波纹管式" : "常规式");
    line_inputs(acc, l, "出口");
    add_input(acc, "P_{e}", "出口管末端压力（绝压）", "MPa",
              in.P_outlet ? in.P_outlet : number(atmosphere),
              in.P_outlet ? std::string() : std::string("未输入，取大气压 0.1013 MPa"));
    add_input(acc, "μ", "介质黏度", "mPa·s", in.medium.mu, in.medium.source);
    add_input(acc, "P_{s}", "整定压力", "MPa", in.valve.capacity.Ps);
    add_route_inputs(acc, in);
    need(r, has_capacity(in), "W（安全阀排放能力）");
    line_requirements(r, l, in.medium);
    need(r, positive(in.valve.capacity.Ps), "P_{s}（整定压力）");
    need(r, !in.P_outlet || *in.P_outlet > 0.0, "P_{e}（出口管末端压力，绝压）");
    const auto medium = in.valve.medium;
    flow_requirements(r, in);
    if (not_made(r, acc)) return r;
    const double W = W_of(in), Ps = *in.valve.capacity.Ps;
    const double P_e = in.P_outlet.value_or(atmosphere);
    const line_figures g = line_steps(acc, l, W, *in.medium.mu);
    if (!g.fr) {
        refuse_check(r, acc, "摩擦系数", "无法求摩擦系数（Re 或粗糙度无意义）");
        return r;
    }
    r.fr = g.fr;
    r.K_total = g.K;
    if (*medium == valve_medium::liquid) {
        const double rho = in.medium.rho ? *in.medium.rho : *in.valve.capacity.rho;
        const double v = g.G / rho;
        const double dP = g.K * rho * v * v / 2.0 / 1e6;
        r.P_valve_outlet = P_e + dP;
        add_step(acc, "流速", "v = G/ρ", "v = " + f(g.G) + "/" + f(rho), f(v), "m/s");
        add_step(acc, "阀出口压力", "P_{v} = P_{e} + K·ρ·v^{2}/2",
                 "P_{v} = " + f(P_e) + " + " + f(g.K) + "·" + f(rho) + "·" + f(v) + "^{2}/2/10^{6}",
                 f(r.P_valve_outlet), "MPa", "不计位差");
    } else {
        // Isothermal at the relieving temperature: an ideal gas throttled through the valve keeps
        // its temperature; for steam c² = P_1/ρ_1 at the relieving state.
        const double P1_Pa =
            value_or_zero(valve::discharge_pressure(*medium, in.valve.capacity.Ps)) * 1e6;
        const auto c2 = isothermal_c2(in, P1_Pa, acc);
        const isothermal_result iso = isothermal_to_outlet(P_e * 1e6, g.G, *c2, g.K);
        r.choked_exit = iso.choked;
        if (iso.choked) {
            add_step(acc, "出口端状态", "G·c > P_{e}",
                     f(g.G * std::sqrt(*c2) / 1e6) + " > " + f(P_e), "出口阻塞", "",
                     "管端压力 P^{*} = G·c = " + f(iso.P_choke / 1e6) + " MPa（绝压），高于 P_{e}");
        }
        r.P_valve_outlet = iso.P_in / 1e6;
        add_step(acc, "阀出口压力（等温可压缩流动）",
                 "P_{v}^{2} − P_{x}^{2} = G^{2}·c^{2}·(K + 2·ln(P_{v}/P_{x}))",
                 "P_{x} = " + f(iso.P_out / 1e6) + " MPa，P_{v}（迭代求解）", f(r.P_valve_outlet),
                 "MPa", iso.choked ? "P_{x} 为阻塞管端压力 G·c" : "P_{x} = P_{e}");
    }
    r.built_up = *r.P_valve_outlet - P_e;
    r.built_up_percent = *r.built_up / Ps * 100.0;
    add_step(acc, "累积背压", "ΔP_{b} = P_{v} − P_{e}",
             "ΔP_{b} = " + f(r.P_valve_outlet) + " − " + f(P_e), f(r.built_up), "MPa",
             "占整定压力 " + f(r.built_up_percent) + " %" +
                 (in.bellows ? std::string("；平衡波纹管式安全阀不按 10 % 限值，按背压修正后的排放能力校核")
                             : std::string()));
    if (!in.bellows) {
        const bool ok = *r.built_up <= built_up_limit * Ps;
        verdict_step(r, acc, ok, "校核（常规式安全阀）", "ΔP_{b} ≤ 10 %·P_{s}",
                     f(r.built_up) + (ok ? " ≤ " : " > ") + "0.1·" + f(Ps) + " = " +
                         f(built_up_limit * Ps));
        if (acc)
            acc->conclusion = "累积背压 " + f(r.built_up_percent) + " %，" + outcome_text(r.result);
        return r;
    }
    r.total_gauge_percent = (*r.P_valve_outlet - atmosphere) / Ps * 100.0;
    add_step(acc, "背压百分比（表压）", "p_{b} = (P_{v} − 0.1013)/P_{s}·100",
             "p_{b} = (" + f(r.P_valve_outlet) + " − 0.1013)/" + f(Ps) + "·100",
             f(r.total_gauge_percent), "%", "总背压（附加背压与累积背压之和）");
    const bool liquid = *medium == valve_medium::liquid;
    const auto K = liquid ? bellows_K_w(*r.total_gauge_percent) : bellows_K_b(*r.total_gauge_percent);
    if (!K) {
        refuse_check(r, acc, "背压超出曲线范围",
                     "背压 " + f(r.total_gauge_percent) +
                         " % 超出 API 520 第 I 部分平衡波纹管式安全阀曲线的范围（0～50 %），不外推；"
                         "请向制造厂索取修正系数");
        return r;
    }
    r.K_b = *K;
    add_step(acc, liquid ? "背压修正系数 K_{w}" : "背压修正系数 K_{b}",
             liquid ? "K_{w} = f(p_{b})" : "K_{b} = f(p_{b})",
             (liquid ? "K_{w}(" : "K_{b}(") + f(r.total_gauge_percent) + " %)", f(r.K_b), {},
             liquid ? "API 520 第 I 部分平衡波纹管式安全阀（液体）曲线，线性插值"
             : *medium == valve_medium::saturated_steam
                 ? "API 520 第 I 部分平衡波纹管式安全阀（气体，超压 10 %）曲线，线性插值；"
                   "本规定饱和蒸汽的排放压力按 3 % 超压，API 曲线最低为 10 % 超压，取该曲线"
                 : "API 520 第 I 部分平衡波纹管式安全阀（气体，超压 10 %）曲线，线性插值");
    const int n = valid_count(in.n) ? valve_count(in.n) : 1;
    r.corrected = n * W * F_d * *r.K_b;
    add_step(acc, "修正后的排放能力", "W_{b} = n·W·F_{d}·K",
             "W_{b} = " + std::to_string(n) + "·" + f(W) + "·" + f(F_d) + "·" + f(r.K_b),
             f(r.corrected), "kg/h", in.disc_under_valve ? "" : "未设爆破片，F_{d} = 1");
    const double W_s = Ws_of(in);
    verdict_step(r, acc, *r.corrected >= W_s, "校核（平衡波纹管式安全阀）", "W_{b} ≥ W_{s}",
                 f(r.corrected) + (*r.corrected >= W_s ? " ≥ " : " < ") + f(W_s));
    if (acc)
        acc->conclusion = "背压 " + f(r.total_gauge_percent) + " %，W_{b} = " + f(r.corrected) +
                          " kg/h，" + outcome_text(r.result);
    return r;
}

// ---------------------------------------------------------------------------------------------
// The reaction force of an open discharge of gas or steam, API 520 Part II in SI units:
//   F = 129·W·√(k·T/((k+1)·M)) + A_o·P_2
// W in kg/s, T in K, A_o in mm², P_2 the static gauge pressure at the point of discharge in MPa
// (A_o·P_2 in N). 129 = √(2·8314)/1 rounded as API prints it; the US form is
// F = W/366·√(kT/((k+1)M)) + A_o·P_2 in lbf, lb/h, °R, in², psig. P_2 is that of a sonic exit,
// P_exit = W/A_o·√(2·R·T/(k·(k+1)·M)), less the atmosphere, 0 when the exit is not sonic.
static reaction_result check_reaction_made(const system_input& in, account::account* acc) {
    reaction_result r;
    if (acc) acc->title = "排放反作用力（开式排放）";
    const auto medium = in.valve.medium;
    const bool gas = medium == valve_medium::gas;
    const number k = gas ? in.valve.capacity.k : in.medium.k;
    const number T = gas ? in.valve.capacity.T : in.medium.T;
    const number M = gas ? in.valve.capacity.M : in.medium.M;
    number A_o = in.A_o;
    std::string A_source;
    if (!A_o && in.outlet && positive(in.outlet->D)) {
        A_o = pi / 4.0 * *in.outlet->D * *in.outlet->D;
        A_source = "未输入，取出口管内径 " + f(in.outlet->D) + " mm 的截面积";
    }
    add_input(acc, "W", "单台安全阀排放能力", "kg/h", in.press.capacity);
    add_input(acc, "k", "绝热指数", "", k);
    add_input(acc, "T", "泄放温度", "K", T);
    add_input(acc, "M", "摩尔质量", "kg/kmol", M);
    add_input(acc, "A_{o}", "排放口截面积", "mm^{2}", A_o, A_source);
    if (in.P_2) add_input(acc, "P_{2}", "排放口处静压（表压）", "MPa", in.P_2);
    need(r, has_capacity(in), "W（安全阀排放能力）");
    if (medium == valve_medium::liquid) {
        refuse_check(r, acc, "介质为液体",
                     "API 520 第 II 部分的反作用力公式适用于气体、蒸汽的开式排放，液体不适用");
        return r;
    }
    need(r, k && *k > 1.0, "k（绝热指数，> 1）");
    need(r, positive(T), "T（泄放温度）");
    need(r, positive(M), "M（摩尔质量）");
    need(r, positive(A_o), "A_{o}（排放口截面积）");
    need(r, !in.P_2 || *in.P_2 >= 0.0, "P_{2}（排放口静压，表压 ≥ 0）");
    if (not_made(r, acc)) return r;
    r.W_kg_s = W_of(in) / 3600.0;
    const double root = std::sqrt(*k * *T / ((*k + 1.0) * *M));
    const double P_exit = *r.W_kg_s / (*A_o / 1e6) *
                          std::sqrt(2.0 * gas_constant * *T / (*k * (*k + 1.0) * *M)) / 1e6;
    add_step(acc, "质量流量", "W' = W/3600", "W' = " + f(in.press.capacity) + "/3600",
             f(r.W_kg_s), "kg/s");
    if (in.P_2) {
        r.P2 = *in.P_2;
    } else {
        r.P_exit = P_exit;
        r.P2 = std::max(0.0, P_exit - atmosphere);
        add_step(acc, "排放口静压（声速出口，绝压）", "P_{exit} = W'/A_{o}·√(2·R·T/(k·(k+1)·M))",
                 "P_{exit} = " + f(r.W_kg_s) + "/(" + f(A_o) + "/10^{6})·√(2·8314.46·" + f(T) +
                     "/(" + f(k) + "·(" + f(k) + "+1)·" + f(M) + "))/10^{6}",
                 f(P_exit), "MPa");
        add_step(acc, "排放口静压（表压）", "P_{2} = P_{exit} − 0.1013，不小于 0",
                 "P_{2} = " + f(P_exit) + " − 0.1013", f(r.P2), "MPa",
                 *r.P2 > 0.0 ? "出口达声速" : "出口未达声速，P_{2} 取 0（第一项按声速计，偏大）");
    }
    r.F = 129.0 * *r.W_kg_s * root + *A_o * *r.P2;
    add_step(acc, "反作用力", "F = 129·W'·√(k·T/((k+1)·M)) + A_{o}·P_{2}",
             "F = 129·" + f(r.W_kg_s) + "·√(" + f(k) + "·" + f(T) + "/((" + f(k) + "+1)·" + f(M) +
                 ")) + " + f(A_o) + "·" + f(r.P2),
             f(r.F), "N",
             "API 520 第 II 部分公式的 SI 形式（W' kg/s，T K，A_{o} mm^{2}，P_{2} MPa 表压，F N）；"
             "英制形式 F = W/366·√(kT/((k+1)M)) + A_{o}·P_{2}（lbf）");
    r.result = outcome::not_made;  // a figure for the support's design, not a pass or fail
    if (acc) acc->conclusion = "F = " + f(r.F) + " N（供支架设计，不作合格判断）";
    return r;
}

// ---------------------------------------------------------------------------------------------
// The fire case by API 521 beside the regulation's (liquefied gas, uninsulated or not):
//   Q = 43.2·F·A^0.82 kW with adequate drainage and fire-fighting, 70.9·F·A^0.82 kW without,
//   A the wetted area within 7.6 m of grade (m²), W = 3600·Q/q (q kJ/kg).
// The regulation's 2.55×10⁵·F·A_r^0.82 kJ/h is 70.8 kW·A_r^0.82: the two agree where drainage is
// poor, F is the same and the whole wetted area lies within 7.6 m. The regulation's W_s stays the
// route's; the API figure is a reference, compared with the valves' capacity.
static fire_result check_fire_made(const system_input& in, const number& total, account::account* acc) {
    fire_result r;
    if (acc) acc->title = "火灾工况（API 521 对照）";
    const fire_input fi = in.fire.value_or(fire_input{});
    const bool liquefied = in.relief && in.relief->kind == relief::relief_case::liquefied_gas &&
                           in.relief_result && !in.relief_result->refused();
    const number A_r = liquefied && in.relief_result->area
                           ? number(static_cast<double>(*in.relief_result->area))
                           : std::nullopt;
    const number A = fi.A ? fi.A : A_r;
    const double F = fi.F.value_or(1.0);
    const number q = in.relief ? in.relief->q : std::nullopt;
    if (acc) {
        account::add_choice(acc, "排液与消防",
                            !fi.drainage ? "未选择"
                            : *fi.drainage ? "有充分的排液与消防设施"
                                           : "无充分的排液或消防设施");
    }
    add_input(acc, "A", "地面以上 7.6 m 以内的浸润面积", "m^{2}", A,
              fi.A ? std::string() : std::string("未输入，取本规定计算的浸润面积 A_{r}（偏安全）"));
    add_input(acc, "F", "API 521 环境系数", "", F,
              fi.F ? std::string() : std::string("未输入，取 1（裸露容器）"));
    add_input(acc, "q", "泄放压力下液化气体的汽化潜热", "kJ/kg", q);
    add_input(acc, "W_{s}", "本规定的安全泄放量", "kg/h", Ws_of(in));
    need(r, fi.drainage.has_value(), "排液与消防条件");
    need(r, positive(A), "A（7.6 m 以内的浸润面积）");
    need(r, F > 0.0, "F（环境系数）");
    need(r, positive(q), "q（汽化潜热）");
    if (not_made(r, acc)) return r;
    const double C = *fi.drainage ? 43.2 : 70.9;
    r.Q = C * F * std::pow(*A, 0.82);
    r.W_api = 3600.0 * *r.Q / *q;
    add_step(acc, "吸热量", std::string("Q = ") + (*fi.drainage ? "43.2" : "70.9") + "·F·A^{0.82}",
             "Q = " + f(C) + "·" + f(F) + "·" + f(A) + "^{0.82}", f(r.Q), "kW",
             *fi.drainage ? "有充分排液与消防" : "无充分排液或消防");
    add_step(acc, "API 521 泄放量", "W = 3600·Q/q", "W = 3600·" + f(r.Q) + "/" + f(q),
             f(r.W_api), "kg/h");
    const double W_s = Ws_of(in);
    const double reg_kW = regulation::uninsulated_fire_coefficient / 3600.0;
    if (W_s > 0.0) {
        r.ratio = *r.W_api / W_s;
        add_step(acc, "与本规定之比", "W_{API}/W_{s}", f(r.W_api) + "/" + f(W_s), f(r.ratio), {});
    }
    // Why they differ, from the inputs of each.
    if (*fi.drainage)
        r.reasons.push_back("API 521 在有充分排液与消防时取 43.2 kW·A^{0.82}，本规定为 2.55×10^{5} kJ/h = " +
                            f(reg_kW) + " kW·A^{0.82}");
    else
        r.reasons.push_back("系数：API 521 为 70.9，本规定 2.55×10^{5}/3600 = " + f(reg_kW) +
                            "（相差约 0.1 %）");
    if (liquefied && in.relief->insulated == relief::insulation::insulated)
        r.reasons.push_back("本规定按保温层计算（2.61·(650 − t)·λ·A^{0.82}/(δ·q)），API 521 以环境系数 F 计入保温");
    if (liquefied && in.relief->insulated == relief::insulation::uninsulated) {
        const auto F_r = relief::environment_factor(in.relief->installed);
        if (F_r && std::fabs(*F_r - F) > 1e-12)
            r.reasons.push_back("环境系数：本规定 F = " + f(*F_r) + "，API 521 F = " + f(F));
    }
    if (liquefied && in.relief->fire == relief::fire_exposure::fire_free)
        r.reasons.push_back("本规定对无火灾危险的非易燃液化气体取火灾泄放量的 0.3 倍");
    if (A_r && fi.A && std::fabs(*A_r - *fi.A) > 1e-9 * *A_r)
        r.reasons.push_back("浸润面积：本规定 A_{r} = " + f(A_r) + " m^{2}（全部浸润面积），API 521 只计地面以上 7.6 m 以内 A = " +
                            f(fi.A) + " m^{2}");
    if (!liquefied) r.reasons.push_back("本路线的安全泄放量不是按液化气体火灾工况求得的");
    std::string why;
    for (const auto& s : r.reasons) why += (why.empty() ? "" : "；") + s;
    add_step(acc, "差异原因", {}, {}, {}, {}, why);
    if (positive(total)) {
        const bool covers = *total >= *r.W_api;
        add_step(acc, "安全阀总排放能力对照（参考）", "ΣW ≥ W_{API}",
                 f(total) + (covers ? " ≥ " : " < ") + f(r.W_api), covers ? "满足" : "不满足", {},
                 "参考，不作为校核结论");
    }
    r.result = outcome::not_made;  // a reference beside the regulation's W_s, never the verdict
    if (acc)
        acc->conclusion = "API 521：W = " + f(r.W_api) + " kg/h；本规定 W_{s} = " + f(W_s) +
                          " kg/h，路线仍以本规定的 W_{s} 为准";
    return r;
}

valves_result check_valves(const system_input& in, account::account* acc) {
    valves_result r = check_valves_made(in, acc);
    guard_range(r, acc, {&r.total, &r.A_min, &r.d1_min, &r.d1_chosen, &r.W_chosen});
    return r;
}

disc_result check_disc(const system_input& in, const number& total, account::account* acc) {
    disc_result r = check_disc_made(in, total, acc);
    guard_range(r, acc, {&r.capacity});
    return r;
}

line_result check_inlet(const system_input& in, account::account* acc) {
    line_result r = check_inlet_made(in, acc);
    guard_range(r, acc, {&r.velocity, &r.K_total, &r.dP, &r.percent, &r.W_max, &r.P_choke});
    return r;
}

backpressure_result check_outlet(const system_input& in, double F_d, account::account* acc) {
    backpressure_result r = check_outlet_made(in, F_d, acc);
    guard_range(r, acc, {&r.K_total, &r.P_valve_outlet, &r.built_up, &r.built_up_percent, &r.total_gauge_percent, &r.K_b, &r.corrected});
    return r;
}

reaction_result check_reaction(const system_input& in, account::account* acc) {
    reaction_result r = check_reaction_made(in, acc);
    guard_range(r, acc, {&r.W_kg_s, &r.P_exit, &r.P2, &r.F});
    return r;
}

fire_result check_fire(const system_input& in, const number& total, account::account* acc) {
    fire_result r = check_fire_made(in, total, acc);
    guard_range(r, acc, {&r.Q, &r.W_api, &r.ratio});
    return r;
}

// ---------------------------------------------------------------------------------------------
system_result check_system(const system_input& in, accounts* acc) {
    system_result out;
    const auto next = [acc]() -> account::account* {
        if (!acc) return nullptr;
        acc->emplace_back();
        return &acc->back();
    };
    out.valves = check_valves(in, next());
    number total = out.valves.total;
    double F_d = 1.0;
    if (in.disc_under_valve) {
        out.disc = check_disc(in, total, next());
        if (out.disc->result != outcome::not_made) F_d = out.disc->F_d;
    }
    if (in.inlet) out.inlet = check_inlet(in, next());
    if (in.outlet) out.outlet = check_outlet(in, F_d, next());
    if (in.open_discharge) out.reaction = check_reaction(in, next());
    if (in.fire) {
        number capacity = total;
        if (capacity) *capacity *= F_d;
        out.fire = check_fire(in, capacity, next());
    }
    return out;
}

namespace {

// The checks the verdict line names: those that failed, and those not made.
struct named_checks {
    std::vector<std::string> failing, unmade;
};

named_checks checks_to_name(const system_result& r) {
    named_checks out;
    auto& failing = out.failing;
    auto& unmade = out.unmade;
    // A check with a verdict: failed, or not made for a missing value or a refusal.
    const auto judged = [&](const check& c, const char* name) {
        if (c.result == outcome::fail) failing.emplace_back(name);
        if (c.result == outcome::not_made) unmade.emplace_back(name);
    };
    // A reference figure has no verdict; only its absence is worth naming.
    const auto reference = [&](const check& c, const char* name) {
        if (!c.missing.empty() || c.refusal) unmade.emplace_back(name);
    };
    judged(r.valves, "多台安全阀");
    if (r.disc) judged(*r.disc, "安全阀前设爆破片");
    if (r.inlet) judged(*r.inlet, "进口管线压力损失");
    if (r.outlet) judged(*r.outlet, "出口管线背压");
    if (r.reaction) reference(*r.reaction, "排放反作用力");
    if (r.fire) reference(*r.fire, "火灾工况（API 521 对照）");
    return out;
}

}  // namespace

std::string verdict_line(const system_result& r) {
    const auto [failing, unmade] = checks_to_name(r);
    const auto joined = [](const std::vector<std::string>& names) {
        std::string out;
        for (const auto& n : names) out += (out.empty() ? "" : "、") + n;
        return out;
    };
    if (failing.empty() && unmade.empty()) return "泄放系统校核合格";
    std::string out = failing.empty() ? "泄放系统校核未全部完成" : "泄放系统校核不合格：" + joined(failing);
    if (!unmade.empty()) out += (failing.empty() ? "：" : "；") + std::string("未校核 ") + joined(unmade);
    return out;
}

account::route_account::system_section book_section(const system_input& in, system_result* result) {
    account::route_account::system_section section;
    const system_result r = check_system(in, &section.checks);
    section.verdict = verdict_line(r);
    const named_checks named = checks_to_name(r);
    section.failed = !named.failing.empty();
    section.incomplete = !named.unmade.empty();
    if (result) *result = r;
    return section;
}

}  // namespace ventora::system
