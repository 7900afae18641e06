#include "Parser.h"

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <stdexcept>

namespace {

// What a state does with the current token: a few shifts, else one fallback.
enum class Otherwise : std::uint8_t { kReduce, kError, kBadState };
constexpr std::uint8_t kAccept = 254;     // "shift" target: accept the parse
constexpr std::uint8_t kStopMark = 253;   // "shift" target: "!" fails the parse and stops
struct Shift {
  std::int8_t token;  // TokenKind, -1 ends the list
  std::uint8_t to;
};
struct StateRow {
  Shift shifts[5];
  Otherwise otherwise;
  std::uint8_t n;  // production to reduce by, or error code
};

// Tokens: 0 + 1 - 2 * 3 / 4 ^ 5 ( 6 ) 7 number 8 function 9 end 10 bad 11 "!".
constexpr StateRow kOperand = {{{7, 10}, {8, 11}, {1, 5}, {5, 9}, {11, kStopMark}}, Otherwise::kError, 3};
constexpr StateRow kAlways(Otherwise o, std::uint8_t n) { return {{{-1, 0}}, o, n}; }

constexpr StateRow kActions[30] = {
    /* 0 */ kOperand,
    /* 1 */ {{{9, kAccept}, {0, 12}, {1, 13}, {-1, 0}}, Otherwise::kError, 4},
    /* 2 */ {{{2, 14}, {3, 15}, {-1, 0}}, Otherwise::kReduce, 3},
    /* 3 */ kAlways(Otherwise::kReduce, 6),
    /* 4 */ {{{4, 16}, {-1, 0}}, Otherwise::kReduce, 8},
    /* 5 */ {{{7, 10}, {8, 11}, {5, 9}, {-1, 0}}, Otherwise::kError, 3},
    /* 6 */ kAlways(Otherwise::kReduce, 10),
    /* 7 */ kAlways(Otherwise::kReduce, 13),
    /* 8 */ kAlways(Otherwise::kReduce, 12),
    /* 9 */ kOperand,
    /* 10 */ kAlways(Otherwise::kReduce, 15),
    /* 11 */ {{{5, 20}, {-1, 0}}, Otherwise::kError, 5},
    /* 12 */ kOperand,
    /* 13 */ kOperand,
    /* 14 */ kOperand,
    /* 15 */ kOperand,
    /* 16 */ kOperand,
    /* 17 */ kAlways(Otherwise::kReduce, 9),
    /* 18 */ kAlways(Otherwise::kBadState, 0),
    /* 19 */ {{{0, 12}, {1, 13}, {6, 27}, {-1, 0}}, Otherwise::kError, 6},
    /* 20 */ kOperand,
    /* 21 */ {{{2, 14}, {3, 15}, {-1, 0}}, Otherwise::kReduce, 1},
    /* 22 */ {{{2, 14}, {3, 15}, {-1, 0}}, Otherwise::kReduce, 2},
    /* 23 */ kAlways(Otherwise::kReduce, 4),
    /* 24 */ kAlways(Otherwise::kReduce, 5),
    /* 25 */ kAlways(Otherwise::kReduce, 7),
    /* 26 */ kAlways(Otherwise::kReduce, 11),
    /* 27 */ kAlways(Otherwise::kReduce, 14),
    /* 28 */ {{{0, 12}, {1, 13}, {6, 29}, {-1, 0}}, Otherwise::kError, 6},
    /* 29 */ kAlways(Otherwise::kReduce, 16),
};

// Length of each production's right side (index = production number).
constexpr int kRightSide[17] = {0, 3, 3, 1, 3, 3, 1, 3, 1, 2, 1, 1, 1, 1, 3, 1, 4};

// Function names in the order they are tried; a name matches only whole.
constexpr const char* kFunctionNames[] = {"ABS", "ATAN", "COS", "EXP", "LN", "ROUND", "SIN", "SQRT", "SQR", "TRUNC"};

// Above this |F x ln S| or |v| of EXP the extended exponential overflows.
constexpr long double kExpLimit = 11356.0L;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Decimal text to extended, independent of the process's locale; false when
// the whole text is not one finite literal.
bool ConvertNumber(const std::string& text, long double& value) {
  static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  char* end = nullptr;
  const long double v = strtold_l(text.c_str(), &end, cLocale);
  if (end != text.c_str() + text.size() || !std::isfinite(v)) return false;
  value = v;
  return true;
}

}  // namespace

TMathParser::TokenKind TMathParser::NextToken() {
  const std::string& s = ParseString;
  while (pos_ < s.size() && s[pos_] == ' ') ++pos_;
  token_ = Entry{};
  if (pos_ >= s.size()) return kEnd;
  const char c = s[pos_];
  if (IsDigit(c) || c == '.') {
    std::string text;
    bool point = false, digit = false;
    while (pos_ < s.size() && (IsDigit(s[pos_]) || (s[pos_] == '.' && !point))) {
      point |= s[pos_] == '.';
      digit |= s[pos_] != '.';
      text += s[pos_++];
    }
    if (!digit) return kBad;  // a lone decimal point
    if (pos_ < s.size() && (s[pos_] == 'E' || s[pos_] == 'e')) {
      text += s[pos_++];
      if (pos_ < s.size() && (s[pos_] == '+' || s[pos_] == '-')) text += s[pos_++];
      for (int i = 0; i < 4 && pos_ < s.size() && IsDigit(s[pos_]); ++i) text += s[pos_++];
    }
    if (text[0] == '.') text.insert(text.begin(), '0');
    if (!ConvertNumber(text, token_.value)) mathError_ = true;  // still a number token
    return kNumber;
  }
  if (IsLetter(c)) {
    std::string name;
    while (pos_ < s.size() && (IsLetter(s[pos_]) || IsDigit(s[pos_]) || s[pos_] == '_')) name += s[pos_++];
    std::string upper = name;
    for (char& ch : upper) ch = Upper(ch);
    for (const char* f : kFunctionNames) {
      if (upper == f) {
        std::strcpy(token_.funcName, f);
        return kFunction;
      }
    }
    long double value = 0.0L;
    bool found = false;
    if (OnGetVar) OnGetVar(*this, name, value, found);
    if (!found) return kBad;
    if (!std::isfinite(value)) mathError_ = true;
    token_.value = value;
    return kNumber;
  }
  ++pos_;
  switch (c) {
    case '+': return kPlus;
    case '-': return kMinus;
    case '*': return kTimes;
    case '/': return kDivide;
    case '^': return kPower;
    case '(': return kOpen;
    case ')': return kClose;
    case '!': return kErrorMark;
    default: return kBad;
  }
}

bool TMathParser::Push(std::uint8_t state) {
  if (count_ >= kStackSize) {
    errorCode_ = kStackOverflow;
    return false;
  }
  stack_[count_] = token_;
  stack_[count_].state = state;
  ++count_;
  return true;
}

int TMathParser::GotoState(int production, int from) {
  if (production <= 3) {  // E
    if (from == 0) return 1;
    if (from == 9) return 19;
    if (from == 20) return 28;
  } else if (production <= 6) {  // T
    if (from == 0 || from == 9 || from == 20) return 2;
    if (from == 12) return 21;
    if (from == 13) return 22;
  } else if (production <= 8) {  // F
    if (from == 0 || from == 9 || from == 12 || from == 13 || from == 20) return 3;
    if (from == 14) return 23;
    if (from == 15) return 24;
    if (from == 16) return 25;
  } else if (production <= 10) {  // S
    return 4;
  } else if (production <= 12) {  // W
    return from == 5 ? 17 : 6;
  } else {  // V
    return 8;
  }
  throw std::logic_error("Bad token state");
}

long double TMathParser::ApplyFunction(const char* name, long double v) {
  auto within = [&](long double lo, long double hi) {
    if (v >= lo && v <= hi) return true;
    mathError_ = true;
    return false;
  };
  const std::string f = name;
  if (f == "ABS") return std::fabs(v);
  if (f == "ATAN") return std::atan(v);
  if (f == "COS") return within(-9e18L, 9e18L) ? std::cos(v) : 0.0L;
  if (f == "EXP") return within(-kExpLimit, kExpLimit) ? std::exp(v) : 0.0L;
  if (f == "LN") {
    if (v > 0.0L) return std::log(v);
    mathError_ = true;
    return 0.0L;
  }
  if (f == "ROUND") return within(-1e9L, 1e9L) ? roundevenl(v) : 0.0L;
  if (f == "SIN") return within(-9e18L, 9e18L) ? std::sin(v) : 0.0L;
  if (f == "SQRT") return within(0.0L, HUGE_VALL) ? std::sqrt(v) : 0.0L;
  if (f == "SQR") return within(-1e2466L, 1e2466L) ? v * v : 0.0L;
  if (f == "TRUNC") return within(-1e9L, 1e9L) ? std::trunc(v) : 0.0L;
  throw std::logic_error("Invalid reduction");
}

void TMathParser::Reduce(int production) {
  if (production == 11 || production == 13) throw std::logic_error("Invalid reduction");
  const int n = kRightSide[production];
  const Entry* r = &stack_[count_ - n];  // the right side, left to right
  long double v = 0.0L;
  switch (production) {
    case 1: v = r[0].value + r[2].value; break;
    case 2: v = r[0].value - r[2].value; break;
    case 4: v = r[0].value * r[2].value; break;
    case 5:
      if (r[2].value == 0.0L) mathError_ = true;
      else v = r[0].value / r[2].value;
      break;
    case 7: {
      const long double s = r[0].value;
      const long double t = s > 0.0L ? r[2].value * std::log(s) : 0.0L;
      if (s <= 0.0L || !(t >= -kExpLimit && t <= kExpLimit)) mathError_ = true;
      else v = std::exp(t);
      break;
    }
    case 9: v = -r[1].value; break;
    case 14: v = r[1].value; break;
    case 16: v = ApplyFunction(r[0].funcName, r[2].value); break;
    default: v = r[0].value; break;  // 3, 6, 8, 10, 12, 15: the single entry
  }
  if (!std::isfinite(v)) {  // an overflow (for example 1E4000 * 1E4000)
    mathError_ = true;
    v = 0.0L;
  }
  count_ -= n;
  Entry result;
  result.value = v;
  result.state = static_cast<std::uint8_t>(GotoState(production, stack_[count_ - 1].state));
  stack_[count_++] = result;
}

void TMathParser::Parse() {
  pos_ = 0;
  count_ = 0;
  errorCode_ = 0;
  mathError_ = false;
  stack_[count_++] = Entry{};
  kind_ = NextToken();
  for (bool done = false; !done && errorCode_ == 0;) {
    const int state = stack_[count_ - 1].state;
    const StateRow& row = kActions[state];
    bool shifted = false;
    for (const Shift& sh : row.shifts) {
      if (sh.token < 0) break;
      if (sh.token != kind_) continue;
      shifted = true;
      if (sh.to == kAccept) {
        done = true;
      } else if (sh.to == kStopMark) {
        mathError_ = true;
        done = true;
      } else if (Push(sh.to)) {
        kind_ = NextToken();
      }
      break;
    }
    if (shifted) continue;
    switch (row.otherwise) {
      case Otherwise::kReduce: Reduce(row.n); break;
      case Otherwise::kError: errorCode_ = row.n; break;
      case Otherwise::kBadState: throw std::logic_error("Bad token state");
    }
  }
  if (errorCode_ != 0 && OnParseError) OnParseError(*this, errorCode_);
  ParseFailed = errorCode_ != 0 || mathError_;
  ParseResult = ParseFailed ? 0.0L : stack_[count_ - 1].value;
}
