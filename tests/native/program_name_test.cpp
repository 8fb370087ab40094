#include "launcher/program_name.h"

#include <vector>

#include <gtest/gtest.h>

namespace {

using launcher::Translation;

constexpr std::uint16_t kChinaChinese = 0x0804;
constexpr std::uint16_t kTaiwanChinese = 0x0404;
constexpr std::uint16_t kUsEnglish = 0x0409;
constexpr std::uint16_t kGerman = 0x0407;
constexpr std::uint16_t kFrench = 0x040C;

TEST(TranslationsToTry, PutTheUsersLanguageFirstThenSensibleFallbacks) {
  const struct {
    const char* what;
    std::vector<Translation> listed;
    std::uint16_t user;
    std::vector<Translation> expected;
  } cases[] = {
      {"the user's own language wins wherever it is listed",
       {{kUsEnglish, 1200}, {kGerman, 1200}, {kChinaChinese, 1200}}, kChinaChinese,
       {{kChinaChinese, 1200}, {kUsEnglish, 1200}, {kGerman, 1200}}},
      {"another variant of the language before neutral and English",
       {{kUsEnglish, 1200}, {0x0000, 1200}, {kTaiwanChinese, 950}}, kChinaChinese,
       {{kTaiwanChinese, 950}, {0x0000, 1200}, {kUsEnglish, 1200}}},
      {"no match: neutral, then US English, then the rest in their order",
       {{kFrench, 1252}, {kGerman, 1252}, {kUsEnglish, 1252}, {0x0000, 1200}}, kChinaChinese,
       {{0x0000, 1200}, {kUsEnglish, 1252}, {kFrench, 1252}, {kGerman, 1252}}},
      {"a neutral user language is no variant of everything",
       {{kGerman, 1200}, {kUsEnglish, 1200}}, 0x0000,
       {{kUsEnglish, 1200}, {kGerman, 1200}}},
      {"no list: the usual tables",
       {}, kChinaChinese,
       {{kUsEnglish, 1200}, {kUsEnglish, 1252}, {0x0000, 1200}, {0x0000, 1252}}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(launcher::translationsToTry(c.listed, c.user), c.expected) << c.what;
  }
}

TEST(FileTitle, IsTheNameWithoutFolderAndLastExtension) {
  const struct {
    const wchar_t* path;
    const wchar_t* title;
  } cases[] = {
      {L"C:\\Program Files\\Editor\\editor.exe", L"editor"},
      {L"C:\\Tools\\my.app.v2.EXE", L"my.app.v2"},
      {L"D:/unix/style/tool.exe", L"tool"},
      {L"C:app.exe", L"app"},
      {L"app.exe", L"app"},
      {L"C:\\dotted.dir\\noext", L"noext"},
      {L"C:\\dir\\.exe", L".exe"},
      {L"C:\\dir\\", L""},
      {L"", L""},
      {L"C:\\\x5DE5\x5177\\\x8BB0\x4E8B\x672C.exe", L"\x8BB0\x4E8B\x672C"},  // 工具\记事本.exe
  };
  for (const auto& c : cases) EXPECT_EQ(launcher::fileTitle(c.path), c.title) << c.path;
}

TEST(Trimmed, DropsBlanksAtBothEndsOnly) {
  EXPECT_EQ(launcher::trimmed(L"  Text Editor \t\r\n"), L"Text Editor");
  EXPECT_EQ(launcher::trimmed(L" \t "), L"");
  EXPECT_EQ(launcher::trimmed(L"a  b"), L"a  b");
}

}  // namespace
