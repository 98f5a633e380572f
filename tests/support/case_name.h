// CaseName: names each case of a parameterised suite by its `name` field.
#pragma once

#include <gtest/gtest.h>

#include <string>

namespace intcalc {

struct CaseName {
  template <typename Case>
  std::string operator()(const testing::TestParamInfo<Case>& test) const {
    return test.param.name;
  }
};

}  // namespace intcalc
