// The application's name as cut from the executable's path, and as the running test sees it.
#include "platform/process/application_name.h"

#include <gtest/gtest.h>

#include "tests/support/named_rows.h"

namespace {

struct Case {
  const char* name;
  const char* path;
  const char* expected;
};

using named_rows::PrintTo;

class BaseName : public testing::TestWithParam<Case> {};

TEST_P(BaseName, DropsFolderAndExtension) {
  EXPECT_EQ(BaseNameWithoutExtension(GetParam().path), GetParam().expected);
}

const Case kCases[] = {
    {"Installed", "/usr/bin/Orlimar", "Orlimar"},
    {"WindowsFile", "C:\\Program Files\\Orlimar\\Orlimar.exe", "Orlimar"},
    {"CopyUnderAnotherName", "/home/u/bin/Weatherly", "Weatherly"},
    {"OnlyTheLastExtension", "/opt/Orlimar.old.exe", "Orlimar.old"},
    {"DottedFolder", "/opt/v1.2/Orlimar", "Orlimar"},
    {"BareName", "Orlimar", "Orlimar"},
    {"LeadingDotKept", "/tmp/.hidden", ".hidden"},
    {"Empty", "", ""},
};

INSTANTIATE_TEST_SUITE_P(Table, BaseName, testing::ValuesIn(kCases), named_rows::RowName<Case>);

TEST(ApplicationName, IsTheRunningExecutablesNameNotArgv0) {
  EXPECT_EQ(ApplicationName("/somewhere/else/Renamed"), "application_name_test");
}

}  // namespace
