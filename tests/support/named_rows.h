// Names for the rows of TEST_P tables whose row structs have a `name` member.
#pragma once

#include <gtest/gtest.h>

#include <concepts>
#include <ostream>
#include <string>

namespace named_rows {

template <typename Row>
concept Named = requires(const Row& row) {
  { row.name } -> std::convertible_to<std::string>;
};

// The name generator for INSTANTIATE_TEST_SUITE_P.
template <Named Row>
std::string RowName(const testing::TestParamInfo<Row>& info) {
  return info.param.name;
}

// Prints a row as its name, so listed tests carry no byte dump. Bring it into
// the rows' namespace with `using named_rows::PrintTo;` for gtest to find it.
template <Named Row>
void PrintTo(const Row& row, std::ostream* os) {
  *os << row.name;
}

}  // namespace named_rows
