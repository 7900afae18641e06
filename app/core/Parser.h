// TMathParser: evaluates one arithmetic expression to an extended-precision
// number with a table-driven shift-reduce parser and a 15-entry value stack.
// Numbers, + - * / ^, unary minus, parentheses, ten functions and variables
// supplied by the owner through OnGetVar. Syntax errors end the parse with a
// code passed to OnParseError; arithmetic errors (division by zero, a function
// outside its range, any result that is not finite) only make the parse fail.
// Qt-free; the text is bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

class TMathParser {
 public:
  // Syntax error codes as passed to OnParseError.
  enum : int {
    kStackOverflow = 1,     // a push onto the full stack
    kBadCellRange = 2,      // kept for its number; never raised
    kExpectedExpression = 3,
    kExpectedOperator = 4,
    kExpectedOpenParen = 5,
    kExpectedOperatorOrClose = 6,
  };
  static constexpr int kStackSize = 15;  // the start entry included

  // (sender, name as written, value, found): set found to supply the value.
  using TGetVarEvent = std::function<void(TMathParser& sender, const std::string& varName,
                                          long double& value, bool& found)>;
  using TParseErrorEvent = std::function<void(TMathParser& sender, int parseError)>;

  std::string ParseString;
  TGetVarEvent OnGetVar;
  TParseErrorEvent OnParseError;

  // Valid after Parse: a failed parse gives 0.
  long double ParseResult = 0.0L;
  bool ParseFailed = false;

  // Evaluates ParseString. Calls OnGetVar once for every identifier that is
  // not a function name, in text order, and OnParseError once when a syntax
  // error ended the parse. Throws std::logic_error only on an internal fault
  // the tables never reach ("Invalid reduction", "Bad token state").
  void Parse();

 private:
  enum TokenKind : std::uint8_t {
    kPlus, kMinus, kTimes, kDivide, kPower, kOpen, kClose, kNumber, kFunction, kEnd, kBad, kErrorMark
  };
  struct Entry {
    std::uint8_t state = 0;
    long double value = 0.0L;
    char funcName[6] = {};  // upper-cased function name of a function token
  };

  TokenKind NextToken();
  bool Push(std::uint8_t state);  // pushes the current token; false sets error 1
  void Reduce(int production);
  static int GotoState(int production, int fromState);
  long double ApplyFunction(const char* name, long double v);

  std::size_t pos_ = 0;  // 0-based index of the next character
  Entry token_;
  TokenKind kind_ = kEnd;
  Entry stack_[kStackSize];
  int count_ = 0;
  int errorCode_ = 0;
  bool mathError_ = false;
};
