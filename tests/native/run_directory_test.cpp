#include "app/run_directory.h"

#include <cctype>
#include <string>

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

TEST(RunDirectory, GuardNamesAreShortAsciiAndDifferPerFolder) {
  const std::u16string one = u"C:\\USERS\\PUBLIC\\BAR";
  const std::u16string gbk = u"C:\\USERS\\PUBLIC\\\u684C\u9762 \u5DE5\u5177";  // 桌面 工具
  const std::u16string deep = one + u"\\" + std::u16string(2000, u'X');
  const std::string name = app::runDirectoryGuardName(one);
  EXPECT_EQ(name, app::runDirectoryGuardName(one)) << "the same folder, the same name";
  EXPECT_EQ(name.rfind("Local\\", 0), 0u) << "one per log-on session";
  for (const std::u16string& other : {gbk, deep, one + u"2", std::u16string(u"C:\\USERS\\PUBLIC\\BAS")}) {
    const std::string otherName = app::runDirectoryGuardName(other);
    EXPECT_NE(otherName, name);
    EXPECT_EQ(otherName.size(), name.size()) << "the length does not grow with the path";
    EXPECT_LT(otherName.size(), 64u) << "far below the longest kernel object name";
    for (const char ch : otherName.substr(6)) EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(ch)) || ch == '.') << otherName;
  }
}

}  // namespace
