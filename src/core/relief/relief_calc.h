// The vessel's safety relief rate W_s (kg/h) under the 1999 edition of the pressure vessel safety
// regulation ("1999年版《容规》"), for the three cases of the relief-rate window.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "account/account.h"
#include "numbers/number.h"

namespace ventora::relief {

enum class relief_case { compressed_gas, liquefied_gas, typed_rate };

// "压缩机储气罐或者汽包" / "气体储罐"
enum class compressed_kind { production_capacity, gas_storage_tank };
// "易燃液化气体,或者可能发生火灾环境下工作的非易燃液化气体" / "非易燃液化气体,且工作在无火灾危险的环境下工作"
enum class fire_exposure { fire_exposed, fire_free };
// "无绝热材料保温层的压力容器" / "有绝热材料保温层的压力容器"
enum class insulation { uninsulated, insulated };
// Sets the environment factor F: 0.3 below ground under sand, 1 above ground, 0.6 under a water
// spray of more than 10 L/(m²·min).
enum class installation { below_ground, above_ground, water_spray };
// The environment factor F of the installation; unset when none is chosen.
std::optional<double> environment_factor(std::optional<installation> installed);
enum class vessel_form { hemispherical_heads, elliptical_heads, vertical, spherical };

// Everything one calculation needs. Choices are empty when no option is chosen; a number is
// unset when its box does not hold a number.
struct relief_input {
    relief_case kind = relief_case::typed_rate;
    std::optional<compressed_kind> compressed;
    std::optional<fire_exposure> fire;
    std::optional<insulation> insulated;
    std::optional<installation> installed;
    std::optional<vessel_form> form;

    number G;       // maximum production capacity, kg/h
    number rho;     // gas density at the relief pressure, kg/m³
    number d;       // inner diameter of the inlet pipe, mm
    number v;       // gas velocity in the inlet pipe, m/s
    number D;       // vessel diameter, m
    number L;       // vessel length, m
    number h;       // maximum liquid level, m
    number q;       // latent heat of vaporisation at the relief pressure, kJ/kg
    number lambda;  // thermal conductivity of the insulation, kJ/(m²·h·°C)
    number t;       // saturation temperature at the relief pressure, °C
    number delta;   // insulation thickness, m
    number W_t;     // typed relief rate, kg/h
};

struct relief_result {
    // The message of the first failing check; empty when the rate was computed.
    std::optional<std::string> refusal;
    // Wetted area in m², single precision; liquefied gas only.
    std::optional<float> area;
    // W_s in kg/h as shown; may be unset.
    number W_s;
    // What the program keeps as the vessel's rate: floor(W_s) in single precision, 0 when W_s is
    // unset.
    float stored = 0.0F;

    bool refused() const { return refusal.has_value(); }
};

// Refusal messages, in the order the checks run.
inline constexpr const char* msg_compressed_bad = "参数输入错误!请重新输入";
inline constexpr const char* msg_no_medium = "介质类型未选择!";
inline constexpr const char* msg_no_insulation = "保温类型未选择!";
inline constexpr const char* msg_no_installation = "容器安装形式未选择!";
inline constexpr const char* msg_no_form = "容器形式未选择!";
inline constexpr const char* msg_bad_vessel = "容器参数未正确输入!";
inline constexpr const char* msg_bad_insulation = "相关参数未输入完整!";
inline constexpr const char* msg_no_latent_heat = "气体汽化潜热参数未输入!";
inline constexpr const char* msg_typed_bad = "未正确输入数据";

// Message prompts; the number follows the blank directly.
inline constexpr const char* prompt_area = "当前计算出的面积(m^2)： ";
inline constexpr const char* prompt_rate = "当前计算出的安全泄放量(kg/h)： ";

// Computes W_s for one press of "下一步". No side effects; see relief_calc.cpp for the formulas.
// Fills the account when one is given.
relief_result calc_relief_rate(const relief_input& in, account::account* acc = nullptr);

// The texts of the message boxes the window shows for a result, in order: the refusal alone, or
// the area (liquefied gas only) and then W_s.
std::vector<std::string> relief_messages(const relief_result& result);

}  // namespace ventora::relief
