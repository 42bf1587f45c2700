// Bursting-disc sizing: the minimum discharge area A (mm²) a disc needs to pass the vessel's
// relief rate W_s (kg/h), for gas, liquid and saturated steam.
#pragma once

#include <optional>
#include <string>

#include "account/account.h"
#include "numbers/number.h"

namespace ventora::disc {

// "气体" / "液体" / "饱和蒸汽"
enum class disc_medium { gas, liquid, saturated_steam };
// "直管" K = 0.68 / "平直管" K = 0.73 / "喇叭管" K = 0.8
enum class nozzle_type { straight_pipe, flush_pipe, bell_mouth };

struct disc_inputs {
    number p_b;  // design burst pressure, absolute MPa
    number M;    // gas molar mass, kg/kmol
    number T;    // gas absolute temperature, K
    number Z;    // gas compressibility factor
    number k;    // gas adiabatic exponent
    number p_o;  // pressure on the discharge side, MPa
    number rho;  // liquid density, kg/m³
};

enum class disc_status { area_ready, no_medium, no_nozzle, bad_k, bad_input };

struct disc_result {
    disc_status status = disc_status::area_ready;
    number A;  // mm², a whole number; meaningful with area_ready only, and may be unset
};

inline constexpr const char* msg_no_medium = "没有选择计算类型!请重新选择!";
inline constexpr const char* msg_no_nozzle = "没有选择接管类型!请重新选择!";
inline constexpr const char* msg_bad_k = "气体绝热系数错误!请重新选择!";
inline constexpr const char* msg_bad_input = "输入参数错误!请重新选择!";
inline constexpr const char* prompt_area = "当前计算出的爆破片所需的最小排放面积(mm^2)： ";

// W_s is the single-precision `vessel_ws`. No side effects; fills the account when one is given.
disc_result size_bursting_disc(std::optional<disc_medium> medium, std::optional<nozzle_type> nozzle,
                               const disc_inputs& in, float W_s, account::account* acc = nullptr);

// The one message the window shows for a result.
std::string disc_message(const disc_result& result);

}  // namespace ventora::disc
