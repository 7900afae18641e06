#include "analysis/detail/zqvconvsel.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "transforms/detail/zqvfftconv.h"

namespace zqvconv {

WorkAlloc workAlloc = &std::calloc;

namespace {

// Crossover lengths: below `upper`, a kernel of lenS is summed directly
// unless lenS >= lower and the longer operand reaches crossover[lenS - lower].
struct Crossover {
  int32_t lower, upper;
  const int32_t* table;
};

constexpr int32_t kRealCross[] = {
    37905, 15889, 3737, 2233, 1769, 1533, 1300, 1262, 1065, 1031, 843, 819, 794, 636, 475, 462, 447,
    437,   416,   416,  406,  281,  275,  268,  261,  257,  251,  246, 241, 207, 203, 200, 195, 192,
    187,   185,   180,  178,  175,  173,  169,  167,  164,  161,  159, 156, 153, 152, 150, 148, 146,
    143,   141,   139,  137,  136,  133,  132,  129,  129,  128,  125, 124, 123, 121, 120, 118, 117,
    115,   114,   112,  111,  110,  110,  108,  106,  105,  105,  104, 103, 102};
constexpr int32_t kCplxCross[] = {3662, 984, 425, 361, 297, 245, 229, 152, 105, 101, 96, 92,
                                  89,   85,  81,  79,  75,  74,  71,  69,  67,  65,  63, 61,
                                  59,   58,  56,  55,  53,  53,  51,  50,  49,  48};
constexpr int32_t kCplxByRealCross[] = {
    20224, 3695, 1274, 1030, 800, 679, 655, 549, 449, 357, 269, 259, 253, 244, 250, 244, 219, 213,
    206,   202,  197,  193,  188, 183, 179, 175, 170, 167, 165, 161, 158, 154, 152, 148, 146, 143,
    141,   138,  136,  134,  132, 130, 127, 125, 123, 121, 120, 119, 117, 115, 114, 112, 110, 109,
    107,   105,  104,  104,  102, 100, 99,  99,  97,  96,  94,  94,  92,  92,  90,  89};
constexpr int32_t kRealByCplxCross[] = {
    34612, 5524, 1718, 1244, 992, 754, 569, 384, 369, 354, 340, 329, 316, 305, 297, 286, 277, 268,
    263,   254,  247,  242,  214, 207, 203, 198, 193, 188, 184, 179, 176, 172, 168, 165, 162, 157,
    155,   152,  149,  146,  144, 142, 139, 136, 133, 132, 130, 128, 125, 123, 121, 119, 117, 116,
    114,   113,  111,  109,  108, 106, 106, 105, 103, 101, 100, 99,  98,  97,  95,  94,  93,  92};

static_assert(sizeof kRealCross / sizeof kRealCross[0] == 102 - 21);
static_assert(sizeof kCplxCross / sizeof kCplxCross[0] == 47 - 13);
static_assert(sizeof kCplxByRealCross / sizeof kCplxByRealCross[0] == 88 - 18);
static_assert(sizeof kRealByCplxCross / sizeof kRealByCplxCross[0] == 88 - 16);

Crossover crossoverOf(Kind kind) noexcept {
  switch (kind) {
    case Kind::Real: return {21, 102, kRealCross};
    case Kind::Cplx: return {13, 47, kCplxCross};
    case Kind::CplxByReal: return {18, 88, kCplxByRealCross};
    case Kind::RealByCplx: return {16, 88, kRealByCplxCross};
  }
  return {0, 0, nullptr};
}

// Per-order costs: transform (F) and block (G) of two kinds of data, A and B.
// Single precision reads A as real and B as complex, double the reverse.
constexpr int32_t kMaxCostOrder = 32;
struct CostRow {
  double fa, ga, fb, gb;
};
constexpr CostRow kCosts[kMaxCostOrder + 1] = {
    {8.39233e-07, 2.93732e-06, 1.88828e-06, 4.50134e-06},
    {6.29425e-06, 7.97272e-06, 6.29425e-06, 1.46484e-05},
    {1.96838e-05, 2.34222e-05, 1.59454e-05, 2.98309e-05},
    {4.02832e-05, 4.95911e-05, 4.18091e-05, 6.86646e-05},
    {8.39233e-05, 0.000105591, 0.000109253, 0.000155945},
    {0.000195313, 0.000238037, 0.000271606, 0.000369263},
    {0.00043457, 0.000535889, 0.000657959, 0.000852051},
    {0.00100342, 0.0011792, 0.00154053, 0.00192871},
    {0.00222168, 0.00260254, 0.00356934, 0.00432129},
    {0.00488281, 0.005625, 0.00820312, 0.0096582},
    {0.0108203, 0.0123242, 0.0183594, 0.0213672},
    {0.0233984, 0.0267969, 0.0413672, 0.0474219},
    {0.0522656, 0.05875, 0.090625, 0.102578},
    {0.113125, 0.125313, 0.196562, 0.220469},
    {0.241875, 0.269062, 0.429375, 0.475625},
    {0.5225, 0.57, 0.98875, 1.04062},
    {1.16625, 1.26375, 2.69875, 2.5825},
    {3.2275, 3.3925, 5.8225, 5.4925},
    {6.84, 7.14, 12.635, 11.615},
    {16.96, 17.14, 26.7, 24.45},
    {42.0529, 42.4992, 56.4218, 51.6672},
    {104.271, 105.378, 119.229, 109.182},
    {258.544, 261.288, 251.953, 230.721},
    {641.069, 647.873, 532.421, 487.554},
    {1589.55, 1606.42, 1125.1, 1030.29},
    {3941.34, 3983.17, 2377.54, 2177.18},
    {9772.69, 9876.41, 5024.16, 4600.77},
    {24231.7, 24488.9, 10616.9, 9722.25},
    {60083.3, 60720.9, 22435.5, 20544.8},
    {148978, 150560, 47410.2, 43414.9},
    {369397, 373317, 100186, 91743.4},
    {915931, 925652, 211711, 193870},
    {2.27108e+06, 2.29518e+06, 447383, 409682}};

enum class Data { Real, Cplx };

// The single-precision members read the table as floats.
double tableCost(bool dbl, double v) noexcept { return dbl ? v : static_cast<double>(static_cast<float>(v)); }

// Transform (F) and block (G) cost of a kind of data at an order; orders
// beyond the table cost infinitely much.
double costF(Data d, bool dbl, int64_t order) noexcept {
  if (order < 0 || order > kMaxCostOrder) return std::numeric_limits<double>::infinity();
  const CostRow& r = kCosts[order];
  return tableCost(dbl, (d == Data::Real) != dbl ? r.fa : r.fb);
}
double costG(Data d, bool dbl, int64_t order) noexcept {
  if (order < 0 || order > kMaxCostOrder) return std::numeric_limits<double>::infinity();
  const CostRow& r = kCosts[order];
  return tableCost(dbl, (d == Data::Real) != dbl ? r.ga : r.gb);
}

// floor(log2 n) of the shared transform cost model; an output length beyond
// 32 bits (two operands near the top of the range) has exponent 31.
int64_t floorLog2(int64_t n) noexcept { return n > INT32_MAX ? 31 : zqvIntLog2(static_cast<int32_t>(n)); }

}  // namespace

Choice chooseMethod(Kind kind, bool dbl, int64_t lenL, int64_t lenS) noexcept {
  const Crossover c = crossoverOf(kind);
  if (lenS < c.upper && (lenS < c.lower || lenL < c.table[lenS - c.lower])) return {Method::Direct, 0};

  const Data longData = (kind == Kind::Real || kind == Kind::RealByCplx) ? Data::Real : Data::Cplx;
  const Data kernData = (kind == Kind::Real || kind == Kind::CplxByReal) ? Data::Real : Data::Cplx;
  const Data resData = kind == Kind::Real ? Data::Real : Data::Cplx;
  const int64_t n = lenL + lenS - 1;
  const int64_t k = floorLog2(lenS) + 2;

  auto sectioned = [&](int64_t order, int64_t sections) {
    return static_cast<double>(sections) * (costF(longData, dbl, order) + costG(resData, dbl, order)) +
           costF(kernData, dbl, order);
  };
  // Sections of P with a kernel of lenS: (N + P - lenS) / (P - lenS + 1).
  auto plainSections = [&](int64_t order) {
    const int64_t p = int64_t{1} << order;
    return (n + p - lenS) / (p - lenS + 1);
  };

  Choice best{Method::Sectioned, 1};
  double bestCost;
  if (lenL > 32 * lenS) {
    const int64_t order = k + 2, p = int64_t{1} << order;
    // A long real operand goes through the transform two sections at a time.
    const int64_t sections = longData == Data::Real ? (n + 2 * (p - lenS + 1) - 1) / (2 * (p - lenS + 1))
                                                    : plainSections(order);
    best.candidate = 3;
    bestCost = sectioned(order, sections);
  } else {
    bestCost = sectioned(k, plainSections(k));
  }
  const double second = sectioned(k + 1, plainSections(k + 1));
  if (second < bestCost) {
    best.candidate = 2;
    bestCost = second;
  }

  const int64_t j = std::min<int64_t>(floorLog2(n) + 1, kMaxCostOrder);
  double whole;
  switch (kind) {
    case Kind::Real: whole = 2 * costF(Data::Real, dbl, j) + costG(Data::Real, dbl, j); break;
    case Kind::Cplx: whole = 2 * costF(Data::Cplx, dbl, j) + costG(Data::Cplx, dbl, j); break;
    default:
      whole = costF(Data::Real, dbl, j) + costF(Data::Cplx, dbl, j) + costG(Data::Cplx, dbl, j);
      break;
  }
  if (whole <= bestCost) return {Method::Whole, 0};
  return best;
}

int64_t sectionLength(int64_t lenS, int64_t n, int32_t candidate) noexcept {
  int64_t q = 1;
  while (q <= lenS) q <<= 1;
  if (q >= n) return q;
  if (candidate > 1 && 2 * q < n) return 4 * q;
  return 2 * q;
}

}  // namespace zqvconv
