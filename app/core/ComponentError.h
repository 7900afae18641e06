// The error that the component units raise: one class with the unit's own
// text, caught at the command boundary like every other run-time error.
#pragma once

#include <stdexcept>
#include <string>

class EComponentError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
