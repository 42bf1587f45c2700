// Safety-valve sizing: the discharge coefficient K, the flow area A (mm²), the discharge capacity
// W (kg/h) and the check of W against the vessel's relief rate W_s.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "account/account.h"
#include "numbers/number.h"

namespace ventora::valve {

// "全启式安全阀" / "带调节圈的微启式安全阀" / "无调节圈的微启式安全阀"
enum class valve_type { full_lift, micro_lift_ring, micro_lift_plain };
// "平面型密封面" / "锥形密封面"; used by the micro-lift types only.
enum class seal_face { flat, conical };
// "气体" / "饱和蒸气" / "液体"
enum class valve_medium { gas, saturated_steam, liquid };

struct area_result {
    double K = 0.0;
    number A;                    // mm², a whole number; unset when it could not be computed
    bool no_seal_face = false;   // a micro-lift type with no seal face chosen
};

// K and A from the valve type, seal face and dimensions (mm; φ in degrees).
area_result valve_flow_area(valve_type type, std::optional<seal_face> face, const number& d1,
                            const number& D, const number& h, const number& phi,
                            account::account* acc = nullptr);

struct capacity_inputs {
    number C;    // gas characteristic coefficient, as typed
    number Ps;   // set pressure, MPa
    number M;    // molar mass, kg/kmol
    number T;    // gas temperature, K
    number Z;    // compressibility factor
    number k;    // adiabatic exponent Cp/Cv
    number rho;  // liquid density at the inlet temperature, kg/m³
    number Po;   // outlet-side pressure, absolute MPa
};

// The discharge pressure P_d (absolute MPa) each medium's formula forms from the set pressure
// P_s (gauge MPa): 1.1·P_s + 0.1 for gas, 1.03·P_s + 0.1 for saturated steam, 1.2·P_s + 0.1 for
// liquid. Unset when it cannot be evaluated.
number discharge_pressure(valve_medium medium, const number& Ps);
// The regulation's flow test for gas: r = Po / Ps (Ps the set pressure as typed, gauge MPa),
// e = k / (k − 1), critical when r ≤ (2/(k+1))^e. r and e stay unset where their division faults;
// a test that cannot be evaluated counts as critical flow.
struct gas_flow_test {
    number r;
    number e;
    number r_c;
    bool critical = true;
};
gas_flow_test regulation_gas_flow(const capacity_inputs& in);

// W in kg/h for the medium; unset when its formula could not be evaluated.
number valve_discharge_capacity(valve_medium medium, double K, const number& A,
                                const capacity_inputs& in, account::account* acc = nullptr);

enum class verdict { pass, fail };

struct check_result {
    number valve_capacity;  // what the program keeps as the last capacity: W itself
    verdict outcome = verdict::fail;
};

// Compares W with W_s (`vessel_ws`, single precision, compared at its exact value).
check_result capacity_check(const number& W, float vessel_ws, account::account* acc = nullptr);

// One press of "下一步" in the safety-valve window, from the choices and the box values.
struct valve_press_input {
    // The press carries no valve data (the engineer is reading the notes): no area and no
    // capacity are computed, and the check fails on the empty capacity.
    bool without_data = false;
    std::optional<valve_type> type;
    std::optional<seal_face> face;
    std::optional<valve_medium> medium;
    number d1, D, h, phi;
    capacity_inputs capacity;
};

// bad_input: saturated steam whose discharge pressure is above water's critical pressure.
enum class press_status { no_valve_type, no_medium, no_seal_face, bad_area, bad_input, checked };

struct valve_press_result {
    press_status status = press_status::checked;
    std::optional<double> K;
    number area;
    number capacity;
    std::optional<verdict> check;   // set when status is checked
    std::vector<std::string> messages;  // the message boxes, in order
};

inline constexpr const char* msg_no_valve_type = "没有选择安全阀的形式!请重新选择!";
inline constexpr const char* msg_no_medium = "没有选择介质类型!请重新选择!";
inline constexpr const char* msg_no_seal_face = "没有选择安全阀密封面的形式!请进行选择!";
inline constexpr const char* msg_bad_area = "参数输入不正确！请重新输入！";
inline constexpr const char* msg_bad_input = msg_bad_area;
inline constexpr const char* msg_fail = "警告！安全阀排放能力小于压力容器安全泄放量！请重新选择安全阀！";
inline constexpr const char* msg_pass = "安全阀排放能力校验合格！";
inline constexpr const char* prompt_area = "当前计算出的安全阀最小排气截面积(mm^2)： ";
inline constexpr const char* prompt_capacity = "当前计算出的安全阀排放能力(kg/h)： ";

// One press: the type and medium checks, the area, the capacity and the check against W_s, in
// that order, collecting the messages. When the status is checked, result.capacity is the value
// for `valve_capacity`. Fills the account when one is given.
valve_press_result press_next(const valve_press_input& in, float vessel_ws,
                              account::account* acc = nullptr);

}  // namespace ventora::valve
