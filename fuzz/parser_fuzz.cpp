// The expression parser on any text: it either fails with a zero result or
// gives a finite value, reports at most one syntax error with a known code,
// and asks for every variable at most once per identifier in the text.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/Parser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TMathParser p;
  p.ParseString.assign(reinterpret_cast<const char*>(data), size);
  int errors = 0, code = 0;
  std::size_t lookups = 0;
  p.OnGetVar = [&](TMathParser&, const std::string& name, long double& v, bool& found) {
    ++lookups;
    if (name.empty()) std::abort();
    found = name[0] != 'q';  // some names are unknown
    v = static_cast<long double>(name.size()) - 2.5L;
  };
  p.OnParseError = [&](TMathParser&, int c) { ++errors, code = c; };
  p.Parse();
  if (errors > 1 || (errors == 1 && (code < 1 || code > 6 || code == 2))) std::abort();
  if (errors == 1 && !p.ParseFailed) std::abort();
  if (p.ParseFailed ? p.ParseResult != 0.0L : !std::isfinite(p.ParseResult)) std::abort();
  if (lookups > size) std::abort();
  return 0;
}

std::vector<std::vector<uint8_t>> KalvoraFuzzSeeds() {
  const char* texts[] = {"sin(x*2*pi)+0.5*cos(3*x)", "-2^-1.5e+3", "((((1))))/(.5-abs(y))",
                         "round(x)^trunc(y)!", "ln(sqrt(exp(1E4)))", "sqr(q_1 + 1.2.3)"};
  std::vector<std::vector<uint8_t>> seeds;
  for (const char* t : texts) seeds.emplace_back(t, t + std::string(t).size());
  return seeds;
}
