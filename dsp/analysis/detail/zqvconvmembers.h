// The members of the one-dimensional convolution: their report names and
// their engines, shared by the exports and the tests that force a method.
#ifndef ZQV_CONVMEMBERS_H
#define ZQV_CONVMEMBERS_H

#include "analysis/detail/zqvconvgen.h"

namespace zqvconv {

inline constexpr const char* kModuleS = "zqvconvs";
inline constexpr const char* kModuleD = "zqvconvd";
inline constexpr const char* kModuleW = "zqvconvw";

inline constexpr Member kS{{"zqvsConv", kModuleS}, "zqvsConv0", "zqvsConv1", "zqvsConvm", Kind::Real};
inline constexpr Member kC{{"zqvcConv", kModuleS}, nullptr, "zqvcConv1", "zqvcConvm", Kind::Cplx};
inline constexpr Member kCS{{"zqvcsConv", kModuleS}, "zqvcsConv0", "zqvcsConv1", "zqvcsConvm", Kind::CplxByReal};
inline constexpr Member kSC{{"zqvscConv", kModuleS}, "zqvscConv0", "zqvscConv1", "zqvscConvm", Kind::RealByCplx};
inline constexpr Member kD{{"zqvdConv", kModuleD}, "zqvdConv0", "zqvdConv1", "zqvdConvm", Kind::Real};
inline constexpr Member kZ{{"zqvzConv", kModuleD}, nullptr, "zqvzConv1", "zqvzConvm", Kind::Cplx};
inline constexpr Member kZD{{"zqvzdConv", kModuleD}, "zqvzdConv0", "zqvzdConv1", "zqvzdConvm", Kind::CplxByReal};
inline constexpr Member kDZ{{"zqvdzConv", kModuleD}, "zqvdzConv0", "zqvdzConv1", "zqvdzConvm", Kind::RealByCplx};

using EngS = RealEngine<float>;
using EngD = RealEngine<double>;
using EngC = CplxEngine<ZqvCplxS>;
using EngZ = CplxEngine<ZqvCplxD>;

}  // namespace zqvconv

#endif
