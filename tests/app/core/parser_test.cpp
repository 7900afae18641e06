// The expression parser: a table of texts and their value, math error or
// syntax error code; the order of its events; and random fully bracketed
// expressions checked against a recursive evaluator of the same tree.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "core/Parser.h"

namespace {

constexpr int kMath = -1;  // the parse fails without a code

struct ParseCase {
  const char* text;
  int error;  // 0 = a value, kMath = math error, else the syntax error code
  long double value;
};

// Power as the parser defines it: e to the (F x ln S), in extended.
long double Pw(long double s, long double f) { return std::exp(f * std::log(s)); }

// Variables: x = 0.5, Y = -2 (any case), long_name1 = 3.
void TestVars(TMathParser&, const std::string& name, long double& value, bool& found) {
  std::string u = name;
  for (char& c : u) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (u == "X") value = 0.5L, found = true;
  if (u == "Y") value = -2.0L, found = true;
  if (name == "long_name1") value = 3.0L, found = true;
}

TEST(MathParser, TextsGiveTheirValueOrError) {
  const ParseCase cases[] = {
      {"1+2*3", 0, 7.0L},
      {"(1+2)*3", 0, 9.0L},
      {"10-4-3", 0, 3.0L},  // left-associative
      {"64/4/2", 0, 8.0L},
      {"2^3^2", 0, Pw(2, Pw(3, 2))},  // right-associative: about 512
      {"2*-3", 0, -6.0L},
      {"2^-1", 0, Pw(2, -1)},
      {"-3+5", 0, 2.0L},
      {"1+-2", 0, -1.0L},
      {"-2^2", kMath, 0},  // unary minus binds tighter: (-2)^2
      {"0^2", kMath, 0},
      {"2^20000", kMath, 0},
      {"2^16000", 0, Pw(2, 16000)},
      {"1/0", kMath, 0},
      {"0/1", 0, 0.0L},
      {".5", 0, 0.5L},
      {"1.", 0, 1.0L},
      {"1E3", 0, 1000.0L},
      {"2.5e-1", 0, 0.25L},
      {"1E+2", 0, 100.0L},
      {"1E", kMath, 0},
      {"1E+", kMath, 0},
      {"1E12345", 4, 0},  // four exponent digits; the fifth is a second number
      {"1E4933", kMath, 0},  // beyond the extended range
      {"1E4000*1E4000", kMath, 0},
      {"1.2.3", 4, 0},
      {".", 3, 0},
      {".E5", 3, 0},
      {"", 3, 0},
      {"   ", 3, 0},
      {"1+", 3, 0},
      {"1 2", 4, 0},
      {"sin 1", 5, 0},
      {"(1", 6, 0},
      {"sin(1", 6, 0},
      {"1)", 4, 0},
      {"--1", 3, 0},
      {"+1", 3, 0},
      {"1\t+1", 4, 0},  // only code 32 is a space
      {"\t1", 3, 0},
      {"1 $", 4, 0},
      {"!", kMath, 0},
      {"1+!", kMath, 0},
      {"1+!)", kMath, 0},  // "!" stops before the bad rest is seen
      {"-!", 3, 0},
      {"1!", 4, 0},
      {"((((((((((((1))))))))))))", 0, 1.0L},        // 12 open: 15 entries at most
      {"(((((((((((((1)))))))))))))", 1, 0},          // 13 open: the first ")" is the 16th push
      {"((((((((((((((1))))))))))))))", 1, 0},        // 14 open: the number is the 16th push
      {" 1 + 2 ", 0, 3.0L},
      {"abs(-3)", 0, 3.0L},
      {"ABS(-0)", 0, 0.0L},
      {"atan(1)", 0, std::atan(1.0L)},
      {"cos(0)", 0, 1.0L},
      {"cos(1E19)", kMath, 0},
      {"Exp(1)", 0, std::exp(1.0L)},
      {"exp(11356)", 0, std::exp(11356.0L)},
      {"exp(11357)", kMath, 0},
      {"exp(-11357)", kMath, 0},
      {"ln(1)", 0, 0.0L},
      {"ln(0)", kMath, 0},
      {"ln(-1)", kMath, 0},
      {"round(2.5)", 0, 2.0L},
      {"round(3.5)", 0, 4.0L},
      {"round(-2.5)", 0, -2.0L},
      {"round(2.4999)", 0, 2.0L},
      {"round(1E9)", 0, 1e9L},
      {"round(2e9)", kMath, 0},
      {"sin(0)", 0, 0.0L},
      {"sin(9e18)", 0, std::sin(9e18L)},
      {"sqrt(0)", 0, 0.0L},
      {"sqrt(2)", 0, std::sqrt(2.0L)},
      {"sqrt(-1)", kMath, 0},
      {"sqr(3)", 0, 9.0L},
      {"sqr(-3)", 0, 9.0L},
      {"trunc(-2.7)", 0, -2.0L},
      {"trunc(2e9)", kMath, 0},
      {"sqrt", 5, 0},
      {"sqrtx(1)", 3, 0},  // no function, no variable: a bad token
      {"sq(1)", 3, 0},
      {"x", 0, 0.5L},
      {"X*y", 0, -1.0L},
      {"long_name1^2", 0, Pw(3, 2)},
      {"y^2", kMath, 0},
      {"z", 3, 0},
      {"1+z", 3, 0},
      {"sin(x)*2", 0, std::sin(0.5L) * 2.0L},
      {"1/(1-1)+sin(1", 6, 0},  // a syntax error is reported even after a math error
  };
  for (const ParseCase& c : cases) {
    SCOPED_TRACE(c.text);
    TMathParser p;
    p.ParseString = c.text;
    p.OnGetVar = TestVars;
    int reported = 0, calls = 0;
    p.OnParseError = [&](TMathParser&, int code) { reported = code, ++calls; };
    p.Parse();
    if (c.error == 0) {
      EXPECT_FALSE(p.ParseFailed);
      // A few units in the last place: the compiler may fold the expected
      // transcendental values more exactly than the run-time library.
      EXPECT_LE(std::fabs(p.ParseResult - c.value), std::ldexp(std::fabs(c.value), -57)) << (double)c.value;
      EXPECT_EQ(calls, 0);
    } else {
      EXPECT_TRUE(p.ParseFailed);
      EXPECT_EQ(p.ParseResult, 0.0L);
      EXPECT_EQ(calls, c.error == kMath ? 0 : 1);
      if (c.error != kMath) {
        EXPECT_EQ(reported, c.error);
      }
    }
  }
}

TEST(MathParser, IdentifierWithoutHandlerIsExpectedExpression) {
  TMathParser p;
  p.ParseString = "x+1";
  int code = 0;
  p.OnParseError = [&](TMathParser&, int c) { code = c; };
  p.Parse();
  EXPECT_TRUE(p.ParseFailed);
  EXPECT_EQ(code, 3);
}

TEST(MathParser, EventsComeInTextOrderAndTheErrorLast) {
  struct Case {
    const char* text;
    std::vector<std::string> events;
  };
  const Case cases[] = {
      {"a + sin(b) * c", {"var a", "var b", "var c"}},
      {"a b c", {"var a", "var b", "error 4"}},  // the parse stops before c is read
      {"a + q + c", {"var a", "var q", "error 3"}},
      {"a / 0 + b", {"var a", "var b"}},  // a math error does not stop the parse
      {"a ! b", {"var a", "error 4"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    std::vector<std::string> events;
    TMathParser p;
    p.ParseString = c.text;
    p.OnGetVar = [&](TMathParser& sender, const std::string& name, long double& v, bool& found) {
      EXPECT_EQ(&sender, &p);
      events.push_back("var " + name);
      found = name != "q";
      v = 1.0L;
    };
    p.OnParseError = [&](TMathParser&, int code) { events.push_back("error " + std::to_string(code)); };
    p.Parse();
    EXPECT_EQ(events, c.events);
  }
}

TEST(MathParser, ParsesAgainWithFreshState) {
  TMathParser p;
  p.ParseString = "1/0";
  p.Parse();
  EXPECT_TRUE(p.ParseFailed);
  p.ParseString = "6/3";
  p.Parse();
  EXPECT_FALSE(p.ParseFailed);
  EXPECT_EQ(p.ParseResult, 2.0L);
}

// ---- Random fully bracketed expressions against a tree evaluator ----

struct Node {
  enum Kind { kLeaf, kNeg, kBinary, kFunction } kind = kLeaf;
  std::string text;   // leaf literal or variable, operator, or function name
  long double value = 0;  // leaf value
  std::unique_ptr<Node> a, b;
};

constexpr const char* kFunctions[] = {"abs", "atan", "cos", "exp", "ln", "round", "sin", "sqrt", "sqr", "trunc"};

std::unique_ptr<Node> RandomTree(std::mt19937& rng, int depth) {
  auto n = std::make_unique<Node>();
  const int pick = depth == 0 ? 0 : static_cast<int>(rng() % 6);
  if (pick <= 1) {
    struct Leaf { const char* text; long double value; };
    static const Leaf leaves[] = {{"0", 0}, {"1", 1}, {"2", 2}, {"3", 3}, {"7", 7}, {"12", 12},
                                  {"2.5", 2.5L}, {".75", 0.75L}, {"0.125", 0.125L}, {"1E2", 100},
                                  {"1e-2", 0.01L}, {"x", 0.5L}, {"Y", -2}, {"pi", 3.14159265358979323846264338327950288L}};
    const Leaf& l = leaves[rng() % std::size(leaves)];
    n->text = l.text, n->value = l.value;
  } else if (pick == 2) {
    n->kind = Node::kNeg;
    n->a = RandomTree(rng, depth - 1);
  } else if (pick == 3) {
    n->kind = Node::kFunction;
    n->text = kFunctions[rng() % std::size(kFunctions)];
    n->a = RandomTree(rng, depth - 1);
  } else {
    n->kind = Node::kBinary;
    n->text = std::string(1, "+-*/^"[rng() % 5]);
    n->a = RandomTree(rng, depth - 1);
    n->b = RandomTree(rng, depth - 1);
  }
  return n;
}

std::string Print(const Node& n) {
  switch (n.kind) {
    case Node::kLeaf: return n.text;
    case Node::kNeg: return "(-" + Print(*n.a) + ")";
    case Node::kFunction: return n.text + "(" + Print(*n.a) + ")";
    case Node::kBinary: return "(" + Print(*n.a) + " " + n.text + " " + Print(*n.b) + ")";
  }
  return {};
}

std::optional<long double> Finite(long double v) {
  if (!std::isfinite(v)) return std::nullopt;
  return v;
}

// The meaning of each operation written out once more, on the tree.
std::optional<long double> Evaluate(const Node& n) {
  if (n.kind == Node::kLeaf) return n.value;
  const auto a = Evaluate(*n.a);
  if (n.kind == Node::kNeg) return a ? std::optional<long double>(-*a) : std::nullopt;
  if (n.kind == Node::kFunction) {
    if (!a) return std::nullopt;
    const long double v = *a;
    const std::string& f = n.text;
    if (f == "abs") return std::fabs(v);
    if (f == "atan") return std::atan(v);
    if (f == "cos") return std::fabs(v) <= 9e18L ? Finite(std::cos(v)) : std::nullopt;
    if (f == "sin") return std::fabs(v) <= 9e18L ? Finite(std::sin(v)) : std::nullopt;
    if (f == "exp") return std::fabs(v) <= 11356.0L ? Finite(std::exp(v)) : std::nullopt;
    if (f == "ln") return v > 0 ? Finite(std::log(v)) : std::nullopt;
    if (f == "sqrt") return v >= 0 ? Finite(std::sqrt(v)) : std::nullopt;
    if (f == "sqr") return std::fabs(v) <= 1e2466L ? Finite(v * v) : std::nullopt;
    if (f == "round") {
      if (std::fabs(v) > 1e9L) return std::nullopt;
      long double r = std::floor(v);
      const long double frac = v - r;
      if (frac > 0.5L || (frac == 0.5L && std::fmod(r, 2.0L) != 0)) r += 1;
      return r;
    }
    if (f == "trunc") return std::fabs(v) <= 1e9L ? std::optional<long double>(std::trunc(v)) : std::nullopt;
    return std::nullopt;
  }
  const auto b = Evaluate(*n.b);
  if (!a || !b) return std::nullopt;
  switch (n.text[0]) {
    case '+': return Finite(*a + *b);
    case '-': return Finite(*a - *b);
    case '*': return Finite(*a * *b);
    case '/': return *b == 0 ? std::nullopt : Finite(*a / *b);
    default: {
      if (*a <= 0) return std::nullopt;
      const long double t = *b * std::log(*a);
      if (t < -11356.0L || t > 11356.0L) return std::nullopt;
      return Finite(std::exp(t));
    }
  }
}

TEST(MathParser, RandomBracketedExpressionsMatchATreeEvaluator) {
  std::mt19937 rng(14);
  int valued = 0;
  for (int i = 0; i < 20000; ++i) {
    const auto tree = RandomTree(rng, 1 + static_cast<int>(rng() % 4));
    const std::string text = Print(*tree);
    const auto expected = Evaluate(*tree);
    TMathParser p;
    p.ParseString = text;
    p.OnGetVar = [](TMathParser& s, const std::string& name, long double& v, bool& found) {
      if (name == "pi") v = 3.14159265358979323846264338327950288L, found = true;
      else TestVars(s, name, v, found);
    };
    int code = 0;
    p.OnParseError = [&](TMathParser&, int c) { code = c; };
    p.Parse();
    ASSERT_EQ(code, 0) << text;
    ASSERT_EQ(p.ParseFailed, !expected.has_value()) << text;
    if (expected) {
      ++valued;
      ASSERT_EQ(p.ParseResult, *expected) << text;
    }
  }
  EXPECT_GT(valued, 5000);  // the generator must not drift into failures only
}

}  // namespace
