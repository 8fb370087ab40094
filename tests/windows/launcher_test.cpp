#include <windows.h>

#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "app/entry.h"
#include "app/main_window.h"
#include "app/shared_state.h"
#include "app/startup.h"
#include "launcher/icon_images.h"
#include "launcher/icon_slots.h"
#include "launcher/list_file.h"
#include "support.h"

namespace {

using testing_support::dataDirectory;
using testing_support::exeDirectory;
using testing_support::helperWithIcon;
using testing_support::helperWithoutIcon;
using testing_support::listFilePath;
using testing_support::readFile;
using testing_support::writeFile;
using testing_support::printWindow;
using testing_support::rgbAt;


void removeData() {
  DeleteFileA(listFilePath().c_str());
  RemoveDirectoryA(dataDirectory().c_str());
}



// A list file: "value" as given, then the keys as given.
std::string listText(const std::string& count, const std::vector<std::pair<int, std::string>>& keys) {
  std::string s = "[cumulative]\r\nvalue=" + count + "\r\n";
  for (const auto& [n, path] : keys) s += std::to_string(n) + "=" + path + "\r\n";
  return s;
}

std::vector<std::pair<int, std::string>> programs(int from, int to, const std::string& path) {
  std::vector<std::pair<int, std::string>> keys;
  for (int n = from; n <= to; ++n) keys.emplace_back(n, path);
  return keys;
}

class LauncherTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app::fixRunDirectory();
    removeData();
    CreateDirectoryA(dataDirectory().c_str(), nullptr);
    app::state() = app::SharedState{};  // as a new process starts
    app::initSharedState();
    ASSERT_TRUE(app::createMainWindow());
  }
  void TearDown() override {
    app::destroyMainWindow();
    app::releaseSharedState();
    removeData();
  }
};

// The helper's icon is a red square with a blue corner on a transparent ground.
enum class Shows { Icon, White };

void expectPicture(ui::PictureBox& icon, Shows shows, const std::string& what) {
  const ui::Picture shot = printWindow(icon.hwnd());
  ASSERT_EQ(shot.width, 32) << what;
  if (shows == Shows::Icon) {
    EXPECT_EQ(rgbAt(shot, 16, 16), 0xFF0000u) << what;
    EXPECT_EQ(rgbAt(shot, 7, 7), 0x0000FFu) << what << ": the icon's top-left corner, upright";
    EXPECT_EQ(rgbAt(shot, 1, 1), 0xFFFFFFu) << what << ": its transparent parts are white";
    EXPECT_EQ(rgbAt(shot, 30, 30), 0xFFFFFFu) << what;
  } else {
    for (auto [x, y] : {std::pair{16, 16}, {7, 7}, {1, 1}}) EXPECT_EQ(rgbAt(shot, x, y), 0xFFFFFFu) << what;
  }
}

struct LoadCase {
  const char* name;
  std::string file;  // empty: no list file
  int icons;
  int iconCount;
  int width;
};

TEST_F(LauncherTest, StartUpLoadRebuildsTheIconsFromTheListFile) {
  const std::string icon = helperWithIcon();
  const LoadCase cases[] = {
      {"no file", "", 0, 0, 424},
      {"two entries", listText("2", programs(1, 2, icon)), 2, 2, 424},
      {"eight entries", listText("8", programs(1, 8, icon)), 8, 8, 424},
      {"nine entries", listText("9", programs(1, 9, icon)), 9, 9, 459},
      {"twenty entries", listText("20", programs(1, 20, icon)), 16, 17, 704},
      {"count abc", listText("abc", programs(1, 3, icon)), 0, 0, 424},
      {"count -4", listText("-4", programs(1, 3, icon)), 0, 0, 424},
      {"count with a leading blank", listText(" 2", programs(1, 3, icon)), 2, 2, 424},
      {"count of twenty digits", listText("99999999999999999999", programs(1, 20, icon)), 16, 17, 704},
      {"count 3 with key 5 present", listText("3", {{1, icon}, {2, icon}, {3, icon}, {5, icon}}), 3, 3, 424},
  };
  for (const LoadCase& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    if (!c.file.empty()) writeFile(listFilePath(), c.file);
    app::onWindowCreated();

    app::SharedState& s = app::state();
    ui::MainWindow& window = app::bar().window;
    EXPECT_EQ(s.iconCount, c.iconCount);
    ASSERT_EQ(static_cast<int>(s.iconNumbers.size()), c.icons);
    EXPECT_EQ(s.nextImageIndex, c.icons);
    EXPECT_EQ(ImageList_GetImageCount(s.iconImages.get()), c.icons);
    EXPECT_EQ(window.width(), c.width);
    for (int n = 1; n <= c.icons; ++n) {
      EXPECT_EQ(s.iconNumbers[static_cast<std::size_t>(n - 1)], n);
      ui::PictureBox* slot = s.iconSlots[static_cast<std::size_t>(n - 1)];
      ASSERT_NE(slot, nullptr) << n;
      EXPECT_TRUE(slot->visible()) << n;
      EXPECT_EQ(slot->tag(), std::to_string(n));
      EXPECT_EQ(slot->left(), 35 * (n - 1) + 2) << n;
      EXPECT_EQ(slot->top(), 3) << n;
      EXPECT_EQ(slot->width(), 32);
      EXPECT_EQ(slot->height(), 32);
      EXPECT_EQ(slot->borderStyle(), 0);
    }
    for (std::size_t i = static_cast<std::size_t>(c.icons); i < s.iconSlots.size(); ++i) {
      EXPECT_EQ(s.iconSlots[i], nullptr) << i;
    }
    EXPECT_FALSE(app::bar().iconTemplate->visible());
    EXPECT_TRUE(app::bar().iconTemplate->tag().empty());
    EXPECT_EQ(app::bar().iconTemplate->left(), 1);
    const int w = window.width();
    const bool widened = w > 424;
    EXPECT_EQ(app::bar().conditionPicture->left(), widened ? w - 86 : 336);
    EXPECT_EQ(app::bar().conditionLabel->left(), widened ? w - 54 : 369);
    EXPECT_EQ(app::bar().dateLabel->left(), widened ? w - 133 : 289);
    if (c.icons > 0) expectPicture(*s.iconSlots[0], Shows::Icon, "icon 1");
  }
}

TEST_F(LauncherTest, AProgramWithoutIconsGetsAWhiteSlotAndTheNextIconKeepsItsOwnPicture) {
  writeFile(listFilePath(), listText("4", {{1, helperWithIcon()}, {2, helperWithoutIcon()}, {3, helperWithIcon()}, {4, ""}}));
  app::onWindowCreated();
  app::SharedState& s = app::state();
  ASSERT_EQ(s.iconNumbers.size(), 4u);
  EXPECT_EQ(s.nextImageIndex, 2) << "only programs with icons add pictures";
  expectPicture(*s.iconSlots[0], Shows::Icon, "icon 1");
  expectPicture(*s.iconSlots[1], Shows::White, "icon 2");
  expectPicture(*s.iconSlots[2], Shows::Icon, "icon 3");
  expectPicture(*s.iconSlots[3], Shows::White, "icon 4, empty path");
  EXPECT_EQ(s.iconSlots[1]->tag(), "2");
  EXPECT_TRUE(s.iconSlots[3]->visible());
}

TEST_F(LauncherTest, HandEditedListFilesLoadWhatTheyCan) {
  const std::string icon = helperWithIcon();
  const std::string longPath = "C:\\" + std::string(10000, 'd') + ".exe";
  const struct {
    const char* what;
    std::string file;
    int icons;
    int pictures;
  } cases[] = {
      {"garbage lines", "junk line\r\n[cumulative]\r\n=\r\n???\r\nvalue=2\r\nno equals here\r\n1=" + icon +
                            "\r\n\x01\x02\r\n2=" + icon + "\r\n", 2, 2},
      {"duplicate keys, the first wins", "[cumulative]\r\nvalue=1\r\nvalue=5\r\n1=" + icon + "\r\n1=nothing.exe\r\n", 1, 1},
      {"LF line ends", "[cumulative]\nvalue=2\n1=" + icon + "\n2=" + icon + "\n", 2, 2},
      {"a 10 000-byte path", "[cumulative]\r\nvalue=2\r\n1=" + longPath + "\r\n2=" + icon + "\r\n", 2, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TearDown();
    SetUp();
    writeFile(listFilePath(), c.file);
    app::onWindowCreated();
    EXPECT_EQ(static_cast<int>(app::state().iconNumbers.size()), c.icons);
    EXPECT_EQ(app::state().nextImageIndex, c.pictures);
  }
  EXPECT_EQ(launcher::readEntryPath(1), longPath);
}

TEST_F(LauncherTest, PictureAtIsEmptyOutsideTheList) {
  app::onWindowCreated();
  HIMAGELIST images = app::state().iconImages.get();
  EXPECT_TRUE(launcher::pictureAt(images, 0).empty());
  ASSERT_TRUE(launcher::addFileIcon(images, helperWithIcon()));
  EXPECT_FALSE(launcher::addFileIcon(images, helperWithoutIcon()));
  EXPECT_FALSE(launcher::addFileIcon(images, exeDirectory() + "\\missing.exe"));
  EXPECT_FALSE(launcher::addFileIcon(images, listFilePath()));
  EXPECT_EQ(ImageList_GetImageCount(images), 1);
  EXPECT_FALSE(launcher::pictureAt(images, 0).empty());
  EXPECT_TRUE(launcher::pictureAt(images, 1).empty());
  EXPECT_TRUE(launcher::pictureAt(images, -1).empty());
}

TEST_F(LauncherTest, OnlyAnIconMadeByADropIsSentTheCaptionPress) {
  app::onWindowCreated();
  testing_support::CaptionPressRecorder recorder;
  launcher::createIconSlot(1, helperWithIcon(), false);
  EXPECT_TRUE(recorder.presses().empty()) << "the start-up load sends nothing";
  launcher::createIconSlot(2, helperWithIcon(), true);
  ASSERT_EQ(recorder.presses().size(), 1u);
  EXPECT_EQ(recorder.presses()[0].first, app::state().iconSlots[1]->hwnd());
  EXPECT_EQ(recorder.presses()[0].second, static_cast<WPARAM>(HTCAPTION));
  EXPECT_EQ(app::state().iconSlots[1]->left(), 37) << "the icon stays in its place";
  EXPECT_EQ(app::state().iconSlots[1]->top(), 3);
}

TEST_F(LauncherTest, WideningAddsThirtyFivePixelsAndKeepsTheCornersRound) {
  launcher::widenBar();
  ui::MainWindow& window = app::bar().window;
  EXPECT_EQ(window.width(), 459);
  EXPECT_EQ(app::bar().conditionPicture->left(), 373);
  EXPECT_EQ(app::bar().conditionLabel->left(), 405);
  EXPECT_EQ(app::bar().dateLabel->left(), 326);
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  GetWindowRgn(window.hwnd(), rgn);
  EXPECT_FALSE(PtInRegion(rgn, 458, 0));
  EXPECT_TRUE(PtInRegion(rgn, 458, 18));
  DeleteObject(rgn);
}

TEST_F(LauncherTest, AppendEntryWritesTheCountThenTheKey) {
  launcher::appendEntry(1, "C:\\Tools\\app.exe");
  EXPECT_EQ(readFile(listFilePath()), "[cumulative]\r\nvalue=1\r\n1=C:\\Tools\\app.exe\r\n");

  writeFile(listFilePath(), "[other]\r\nkeep=yes\r\n[cumulative]\r\nvalue=2\r\n1=a.exe\r\n2=b.exe\r\n[last]\r\nx=1\r\n");
  launcher::appendEntry(3, "c.exe");
  EXPECT_EQ(readFile(listFilePath()),
            "[other]\r\nkeep=yes\r\n[cumulative]\r\nvalue=3\r\n1=a.exe\r\n2=b.exe\r\n3=c.exe\r\n[last]\r\nx=1\r\n");
  EXPECT_EQ(launcher::readEntryCount(), 3);
  EXPECT_EQ(launcher::readEntryPath(3), "c.exe");
  EXPECT_EQ(launcher::readEntryPath(4), "") << "no default for a missing key";
}

TEST_F(LauncherTest, ReadsAreCutAtTheBufferAndNoDataFolderIsEverCreated) {
  const std::string longPath(10300, 'p');
  writeFile(listFilePath(), listText("1", {{1, longPath}}));
  EXPECT_EQ(launcher::readEntryPath(1), std::string(10239, 'p'));

  removeData();
  EXPECT_EQ(launcher::readEntryCount(), 0);
  launcher::appendEntry(1, "C:\\a.exe");
  EXPECT_EQ(GetFileAttributesA(dataDirectory().c_str()), INVALID_FILE_ATTRIBUTES) << "data is not created";
}

}  // namespace
