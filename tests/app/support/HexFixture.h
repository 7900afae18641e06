// Byte fixtures kept as readable text under tests/data/ (*.hex); the format
// is in HexBytes.h.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "HexBytes.h"

namespace kalvora::test {

inline std::string TestDataPath(const std::string& name) { return std::string(KALVORA_TEST_DATA) + "/" + name; }

inline std::vector<std::uint8_t> ReadHexFixture(const std::string& name) {
  std::ifstream in(TestDataPath(name));
  EXPECT_TRUE(in) << "missing fixture " << name;
  std::stringstream ss;
  ss << in.rdbuf();
  return DecodeHexText(ss.str());
}

}  // namespace kalvora::test
