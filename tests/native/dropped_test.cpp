#include "launcher/dropped.h"

#include <gtest/gtest.h>

namespace {

TEST(ShortcutFileName, AppendsLnkUnlessTheNameMentionsIt) {
  EXPECT_EQ(launcher::shortcutFileName("C:\\Desk\\app.lnk"), "C:\\Desk\\app.lnk");
  EXPECT_EQ(launcher::shortcutFileName("C:\\Desk\\APP.LNK"), "C:\\Desk\\APP.LNK");
  EXPECT_EQ(launcher::shortcutFileName("C:\\a.lnk.d\\x"), "C:\\a.lnk.d\\x");
  EXPECT_EQ(launcher::shortcutFileName("C:\\Tools\\app.exe"), "C:\\Tools\\app.exe.lnk");
  EXPECT_EQ(launcher::shortcutFileName(""), ".lnk");
  EXPECT_EQ(launcher::shortcutFileName("C:\\a.lnk\r\nC:\\b.lnk\r\n"), "C:\\a.lnk\r\nC:\\b.lnk\r\n");
}

TEST(ProgramPath, KeepsTheTargetUpToTheFirstExeThatEndsAName) {
  const struct {
    const char* target;
    const char* path;  // null: refused
  } cases[] = {
      {"C:\\Tools\\app.exe", "C:\\Tools\\app.exe"},
      {"C:\\Tools\\app.exe -x", "C:\\Tools\\app.exe"},
      {"C:\\Tools\\app.exe --a b.exe", "C:\\Tools\\app.exe"},
      {"D:\\my.exercises\\run.exe", "D:\\my.exercises\\run.exe"},
      {"D:\\my.exe.d\\run.exe /q", "D:\\my.exe.d\\run.exe"},
      {"C:\\OLD\\APP.EXE", "C:\\OLD\\APP.EXE"},
      {"C:\\Mixed\\Tool.Exe -v", "C:\\Mixed\\Tool.Exe"},
      {"C:\\Docs\\letter.doc", nullptr},
      {"C:\\Folder", nullptr},
      {"C:\\my.exercises", nullptr},
      {"", nullptr},
      // ".exe" after the lead byte of a double-byte character is no match.
      {"C:\\\x81.exe", nullptr},
      {"C:\\\xB3\xCC\xD0\xF2.exe", "C:\\\xB3\xCC\xD0\xF2.exe"},  // 程序.exe
  };
  for (const auto& c : cases) {
    const auto path = launcher::programPath(c.target);
    if (c.path) {
      ASSERT_TRUE(path) << c.target;
      EXPECT_EQ(*path, c.path);
    } else {
      EXPECT_FALSE(path) << c.target;
    }
  }
}

}  // namespace
