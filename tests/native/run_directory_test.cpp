#include "app/run_directory.h"

#include <gtest/gtest.h>

namespace {

TEST(RunDirectory, IsTheFolderOfTheExecutableWithoutTrailingBackslash) {
  const struct {
    const char* module;
    const char* directory;
  } cases[] = {
      {"C:\\Tools\\Bar\\bar.exe", "C:\\Tools\\Bar"},
      {"C:\\bar.exe", "C:"},
      {"\\\\server\\share\\bar.exe", "\\\\server\\share"},
      // 0x5C is the trail byte of GBK 0x95 0x5C: not a separator.
      {"C:\\dir\\\x95\x5C" "bar.exe", "C:\\dir"},
      {"C:\\\x95\x5C\\bar.exe", "C:\\\x95\x5C"},
      {"bar.exe", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(app::runDirectoryOf(c.module), c.directory) << c.module;
}

}  // namespace
