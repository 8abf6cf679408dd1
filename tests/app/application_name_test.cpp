// The application's name as cut from the executable's path, and as the running test sees it.
#include "platform/process/application_name.h"

#include <gtest/gtest.h>

namespace {

struct Case {
  const char* name;
  const char* path;
  const char* expected;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

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

INSTANTIATE_TEST_SUITE_P(Table, BaseName, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<Case>& info) { return info.param.name; });

TEST(ApplicationName, IsTheRunningExecutablesNameNotArgv0) {
  EXPECT_EQ(ApplicationName("/somewhere/else/Renamed"), "application_name_test");
}

}  // namespace
