#include <windows.h>
#include <ole2.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "app/entry.h"
#include "app/main_window.h"
#include "app/settings_menu.h"
#include "app/shared_state.h"
#include "app/startup.h"
#include "launcher/drop.h"
#include "launcher/list_file.h"
#include "launcher/shortcut.h"
#include "launcher/sound.h"
#include "support.h"
#include "text/display.h"
#include "ui/com.h"
#include "ui/message_loop.h"

namespace {

using testing_support::dataDirectory;
using testing_support::exeDirectory;
using testing_support::helperWithIcon;
using testing_support::helperWithoutIcon;
using testing_support::listFilePath;
using testing_support::makeShortcut;
using testing_support::readFile;
using testing_support::writeFile;
using testing_support::pumpUntil;

std::string work() { return exeDirectory() + "\\droptest"; }


void removeTree(const std::string& dir) {
  WIN32_FIND_DATAA found;
  HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &found);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      const std::string path = dir + "\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) removeTree(path);
      else DeleteFileA(path.c_str());
    } while (FindNextFileA(h, &found));
    FindClose(h);
  }
  RemoveDirectoryA(dir.c_str());
}

// A data object as the shell hands one over: files as CF_HDROP, or a text.
class DataObject final : public IDataObject {
 public:
  static DataObject* files(const std::vector<std::string>& paths) {
    std::string list;
    for (const auto& p : paths) list += p + '\0';
    list += '\0';
    HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + list.size());
    auto* drop = static_cast<DROPFILES*>(GlobalLock(g));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = FALSE;
    memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), list.data(), list.size());
    GlobalUnlock(g);
    return new DataObject(CF_HDROP, g);
  }
  static DataObject* text(const std::string& s) {
    HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE, s.size() + 1);
    memcpy(GlobalLock(g), s.c_str(), s.size() + 1);
    GlobalUnlock(g);
    return new DataObject(CF_TEXT, g);
  }
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDataObject)) {
      *out = this;
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --refs_;
    if (!left) delete this;
    return left;
  }
  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* f, STGMEDIUM* m) override {
    if (QueryGetData(f) != S_OK) return DV_E_FORMATETC;
    const SIZE_T size = GlobalSize(global_);
    HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
    memcpy(GlobalLock(copy), GlobalLock(global_), size);
    GlobalUnlock(copy);
    GlobalUnlock(global_);
    m->tymed = TYMED_HGLOBAL;
    m->hGlobal = copy;
    m->pUnkForRelease = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* f) override {
    return f && f->cfFormat == format_ && (f->tymed & TYMED_HGLOBAL) ? S_OK : DV_E_FORMATETC;
  }
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
    out->ptd = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

 private:
  DataObject(CLIPFORMAT format, HGLOBAL g) : format_(format), global_(g) {}
  ~DataObject() { GlobalFree(global_); }
  CLIPFORMAT format_;
  HGLOBAL global_;
  ULONG refs_ = 1;
};

class DropTest : public ::testing::Test {
 protected:
  void SetUp() override {
    OleInitialize(nullptr);
    app::fixRunDirectory();
    removeTree(dataDirectory());
    removeTree(work());
    CreateDirectoryA(dataDirectory().c_str(), nullptr);
    CreateDirectoryA(work().c_str(), nullptr);
    DeleteFileA((helperWithIcon() + ".ran").c_str());
    DeleteFileA((helperWithoutIcon() + ".ran").c_str());
  }
  void start(const std::string& list = "") {
    if (!list.empty()) writeFile(listFilePath(), list);
    app::initSharedState();
    ASSERT_TRUE(app::createMainWindow());
    app::onWindowCreated();
  }
  void TearDown() override {
    app::destroyMainWindow();
    app::releaseSharedState();
    removeTree(dataDirectory());
    removeTree(work());
    OleUninitialize();
  }
  // A drop as the shell makes it: enter, then drop, on our drop target.
  DWORD drop(IDataObject* data) {
    IDropTarget* target = app::bar().dropTarget.get();
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_LINK;
    target->DragEnter(data, MK_LBUTTON, {900, 1010}, &effect);
    const DWORD entered = effect;
    effect = DROPEFFECT_COPY | DROPEFFECT_LINK;
    target->Drop(data, 0, {900, 1010}, &effect);
    data->Release();
    return entered;
  }
  void dropFiles(const std::vector<std::string>& paths) { drop(DataObject::files(paths)); }
};

std::string entries(int count, const std::string& path) {
  std::string s = "[cumulative]\r\nvalue=" + std::to_string(count) + "\r\n";
  for (int n = 1; n <= count; ++n) s += std::to_string(n) + "=" + path + "\r\n";
  return s;
}

TEST_F(DropTest, TheDropTargetIsRegisteredAndTakesFilesOnly) {
  start();
  EXPECT_NE(GetPropW(app::bar().window.hwnd(), L"OleDropTargetInterface"), nullptr) << "registered on the bar";
  EXPECT_EQ(drop(DataObject::text("http://example.invalid/")), static_cast<DWORD>(DROPEFFECT_NONE));
  EXPECT_EQ(app::state().iconCount, 0);
  makeShortcut(work() + "\\app.lnk", helperWithIcon());
  EXPECT_EQ(drop(DataObject::files({work() + "\\app.lnk"})), static_cast<DWORD>(DROPEFFECT_COPY));
  EXPECT_EQ(app::state().iconCount, 1);
}

TEST_F(DropTest, AShortcutWithArgumentsAddsItsProgramWithoutThem) {
  start();
  makeShortcut(work() + "\\app.lnk", helperWithIcon(), "-x --y");
  EXPECT_EQ(launcher::shortcutTarget(work() + "\\app.lnk"), helperWithIcon() + " -x --y");
  EXPECT_EQ(launcher::shortcutTarget(work() + "\\app"), helperWithIcon() + " -x --y") << "\".lnk\" is added";
  dropFiles({work() + "\\app.lnk"});
  app::SharedState& s = app::state();
  ASSERT_EQ(s.iconNumbers.size(), 1u);
  EXPECT_EQ(s.iconSlots[0]->tag(), "1");
  EXPECT_TRUE(s.iconSlots[0]->hasPicture());
  EXPECT_EQ(s.nextImageIndex, 1);
  EXPECT_EQ(readFile(listFilePath()), "[cumulative]\r\nvalue=1\r\n1=" + helperWithIcon() + "\r\n");
  EXPECT_FALSE(app::bar().iconTemplate->hasPicture());
  EXPECT_FALSE(app::bar().iconTemplate->visible());
}

TEST_F(DropTest, ADroppedProgramIsNamedOnItsIconLikeALoadedOne) {
  start(entries(1, testing_support::helperDescribed()));
  makeShortcut(work() + "\\described.lnk", testing_support::helperDescribed());
  makeShortcut(work() + "\\plain.lnk", helperWithoutIcon());
  dropFiles({work() + "\\described.lnk"});
  dropFiles({work() + "\\plain.lnk"});
  ASSERT_EQ(app::state().iconNumbers.size(), 3u);
  ui::MainWindow& window = app::bar().window;
  const std::wstring description = L"\x6D4B\x8BD5\x52A9\x624B \x2603";  // 测试助手 ☃
  EXPECT_EQ(window.tooltip(*app::state().iconSlots[0]), description) << "loaded";
  EXPECT_EQ(window.tooltip(*app::state().iconSlots[1]), description) << "dropped";
  EXPECT_EQ(window.tooltip(*app::state().iconSlots[2]), L"without_icon") << "dropped, no description";
}

TEST_F(DropTest, WhatIsNoSingleShortcutToAProgramAddsNothing) {
  start();
  CreateDirectoryA((work() + "\\folder").c_str(), nullptr);
  makeShortcut(work() + "\\folder.lnk", work() + "\\folder");
  makeShortcut(work() + "\\a.lnk", helperWithIcon());
  makeShortcut(work() + "\\b.lnk", helperWithoutIcon());
  writeFile(work() + "\\broken.lnk", "not a shortcut at all");
  const std::vector<std::vector<std::string>> drops = {
      {helperWithIcon()},                              // a plain program
      {work() + "\\folder.lnk"},                  // a shortcut to a folder
      {work() + "\\a.lnk", work() + "\\b.lnk"},  // two shortcuts at once
      {work() + "\\broken.lnk"},
      {work() + "\\" + std::string(270, 'n') + ".lnk"},
  };
  testing_support::MessageBoxWatcher watcher;
  for (const auto& files : drops) dropFiles(files);
  EXPECT_EQ(app::state().iconCount, 0);
  EXPECT_TRUE(app::state().iconNumbers.empty());
  EXPECT_FALSE(testing_support::fileExists(listFilePath()));
  testing_support::pump(300);
  EXPECT_FALSE(watcher.waitAnswered(200)) << "nothing is shown";
}

TEST_F(DropTest, TheStoredPathEndsAtTheFirstExeThatEndsANameInItsOwnSpelling) {
  start();
  // Real targets, so their icons come out too.
  CreateDirectoryA((work() + "\\my.exercises").c_str(), nullptr);
  CreateDirectoryA((work() + "\\OLD").c_str(), nullptr);
  CopyFileA(helperWithIcon().c_str(), (work() + "\\my.exercises\\run.exe").c_str(), FALSE);
  CopyFileA(helperWithIcon().c_str(), (work() + "\\OLD\\APP.EXE").c_str(), FALSE);
  makeShortcut(work() + "\\run.lnk", work() + "\\my.exercises\\run.exe");
  makeShortcut(work() + "\\old.lnk", work() + "\\OLD\\APP.EXE", "/q");
  dropFiles({work() + "\\run.lnk"});
  dropFiles({work() + "\\old.lnk"});
  EXPECT_EQ(launcher::readEntryPath(1), work() + "\\my.exercises\\run.exe");
  EXPECT_EQ(launcher::readEntryPath(2), work() + "\\OLD\\APP.EXE");
  EXPECT_EQ(app::state().nextImageIndex, 2) << "both stored paths name the real programs";
}

TEST_F(DropTest, TheNinthDropWidensTheBarAndTheNewIconIsSentTheCaptionPress) {
  start(entries(8, helperWithIcon()));
  ASSERT_EQ(app::bar().window.width(), 424);
  makeShortcut(work() + "\\app.lnk", helperWithoutIcon());
  testing_support::CaptionPressRecorder recorder;
  dropFiles({work() + "\\app.lnk"});
  app::SharedState& s = app::state();
  ASSERT_EQ(s.iconNumbers.size(), 9u);
  ASSERT_EQ(recorder.presses().size(), 1u);
  EXPECT_EQ(recorder.presses()[0].first, s.iconSlots[8]->hwnd());
  EXPECT_EQ(app::bar().window.width(), 459);
  EXPECT_EQ(s.iconSlots[8]->left(), 282);
  EXPECT_EQ(s.iconSlots[8]->top(), 3);
  EXPECT_FALSE(s.iconSlots[8]->hasPicture()) << "a program without icons";
  EXPECT_EQ(s.nextImageIndex, 8);
  EXPECT_EQ(app::bar().conditionPicture->left(), 373);
  EXPECT_EQ(launcher::readEntryCount(), 9);
  EXPECT_EQ(launcher::readEntryPath(9), helperWithoutIcon());
}

TEST_F(DropTest, SeventeenthAndEighteenthDropsShowTheBarFullMessageAndWriteNothing) {
  start(entries(16, helperWithIcon()));
  ASSERT_EQ(app::state().iconNumbers.size(), 16u);
  const std::string before = readFile(listFilePath());
  makeShortcut(work() + "\\app.lnk", helperWithIcon());
  for (int attempt = 17; attempt <= 18; ++attempt) {
    testing_support::MessageBoxWatcher watcher;
    dropFiles({work() + "\\app.lnk"});
    ASSERT_TRUE(watcher.waitAnswered()) << attempt;
    EXPECT_EQ(watcher.text(), text::gbkToWide(launcher::kBarFullText));
    EXPECT_EQ(watcher.caption(), text::gbkToWide(app::kInfoCaption));
    EXPECT_EQ(watcher.owner(), nullptr);
    EXPECT_EQ(watcher.buttons(), 1);
    EXPECT_TRUE(watcher.exStyle() & WS_EX_TOPMOST);
    EXPECT_EQ(app::state().iconCount, attempt) << "kept raised";
  }
  EXPECT_EQ(app::state().iconNumbers.size(), 16u);
  EXPECT_EQ(app::bar().window.width(), 704);
  EXPECT_EQ(readFile(listFilePath()), before);
}

TEST_F(DropTest, EscInTheBarFullMessageOnlyClosesTheMessage) {
  start(entries(16, helperWithIcon()));
  app::bar().window.show();
  testing_support::setModifiers(false, false, false);
  makeShortcut(work() + "\\app.lnk", helperWithIcon());
  testing_support::MessageBoxWatcher watcher({}, /*escape=*/true);
  dropFiles({work() + "\\app.lnk"});  // returns once the message is closed
  ASSERT_TRUE(watcher.waitAnswered());
  EXPECT_EQ(watcher.text(), text::gbkToWide(launcher::kBarFullText));
  const HWND bar = app::bar().window.hwnd();
  ui::processPendingMessages();
  testing_support::pump(300);
  EXPECT_TRUE(IsWindow(bar)) << "the bar stays";
  testing_support::postKey(bar, VK_ESCAPE);
  ui::processPendingMessages();
  EXPECT_FALSE(IsWindow(bar)) << "Esc on the bar still closes it";
}

TEST_F(DropTest, AReadOnlyListFileKeepsItsEntriesAndTheBarWorksOn) {
  const std::string list = entries(2, helperWithIcon());
  writeFile(listFilePath(), list);
  SetFileAttributesA(listFilePath().c_str(), FILE_ATTRIBUTE_READONLY);
  SetFileAttributesA(dataDirectory().c_str(), FILE_ATTRIBUTE_READONLY);
  start();
  ASSERT_EQ(app::state().iconNumbers.size(), 2u);
  makeShortcut(work() + "\\app.lnk", helperWithIcon());
  testing_support::MessageBoxWatcher watcher;
  dropFiles({work() + "\\app.lnk"});
  EXPECT_EQ(app::state().iconNumbers.size(), 3u) << "the dropped program is shown";
  EXPECT_FALSE(watcher.waitAnswered(300)) << "nothing is reported";
  EXPECT_EQ(launcher::readEntryPath(1), helperWithIcon()) << "nothing is lost";
  EXPECT_EQ(launcher::readEntryPath(2), helperWithIcon());
  SetFileAttributesA(dataDirectory().c_str(), FILE_ATTRIBUTE_NORMAL);
  SetFileAttributesA(listFilePath().c_str(), FILE_ATTRIBUTE_NORMAL);
}

ui::PictureBox& icon(int n) { return *app::state().iconSlots[static_cast<std::size_t>(n - 1)]; }

void doubleClick(ui::PictureBox& box) {
  PostMessageW(box.hwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(10, 10));
  ui::processPendingMessages();
}

TEST_F(DropTest, DoubleClickStartsThePathTheListFileHoldsAtThatMoment) {
  start(entries(2, helperWithIcon()));
  doubleClick(icon(1));
  EXPECT_TRUE(pumpUntil([] { return testing_support::fileExists(helperWithIcon() + ".ran"); }, 10000)) << "the program was started";

  // Edited while the bar runs: the next double-click starts the new path.
  writeFile(listFilePath(), "[cumulative]\r\nvalue=2\r\n1=" + helperWithoutIcon() + "\r\n2=" + work() + "\\gone.exe\r\n");
  doubleClick(icon(1));
  EXPECT_TRUE(pumpUntil([] { return testing_support::fileExists(helperWithoutIcon() + ".ran"); }, 10000));
  EXPECT_TRUE(icon(1).hasPicture()) << "the icon keeps its picture";

  testing_support::MessageBoxWatcher watcher;
  doubleClick(icon(2));  // a path that does not exist
  testing_support::pump(500);
  EXPECT_FALSE(watcher.waitAnswered(300)) << "a failed start shows nothing of ours";
}

std::vector<int> borders() {
  std::vector<int> styles;
  for (std::size_t i = 0; i < app::state().iconNumbers.size(); ++i) {
    styles.push_back(app::state().iconSlots[i]->borderStyle());
  }
  return styles;
}

TEST_F(DropTest, HoverFramesTheIconUnderTheMouseAndTheFrameStaysWhenItLeaves) {
  start(entries(3, helperWithIcon()));
  EXPECT_EQ(borders(), (std::vector<int>{0, 0, 0}));
  PostMessageW(icon(2).hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  ui::processPendingMessages();
  EXPECT_EQ(borders(), (std::vector<int>{0, 5, 0}));
  EXPECT_TRUE(GetWindowLongW(icon(2).hwnd(), GWL_STYLE) & WS_BORDER);
  PostMessageW(icon(3).hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  ui::processPendingMessages();
  EXPECT_EQ(borders(), (std::vector<int>{0, 0, 5}));
  PostMessageW(app::bar().window.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(300, 5));
  ui::processPendingMessages();
  EXPECT_EQ(borders(), (std::vector<int>{0, 0, 5})) << "leaving keeps the frame";

  // Many moves queued at once run nested inside each other and end the same.
  for (int i = 0; i < 5; ++i) {
    PostMessageW(icon(1).hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    PostMessageW(icon(2).hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  }
  ui::processPendingMessages();
  EXPECT_EQ(borders(), (std::vector<int>{0, 5, 0}));
}

TEST_F(DropTest, RightPressOnAnIconOpensNothing) {
  start(entries(1, helperWithIcon()));
  testing_support::MenuProbe probe;
  PostMessageW(icon(1).hwnd(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
  ui::processPendingMessages();
  testing_support::pump(100);
  EXPECT_EQ(probe.opened(), 0);
}

// A short PCM sound, as data\1.wav.
std::string waveFile(int samples) {
  std::string data(static_cast<std::size_t>(samples) * 2, '\0');
  for (int i = 0; i < samples; ++i) data[static_cast<std::size_t>(2 * i + 1)] = static_cast<char>((i / 20) % 2 ? 0x40 : 0xC0);
  auto le = [](std::uint32_t v, int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += static_cast<char>(v >> (8 * i));
    return s;
  };
  std::string fmt = le(1, 2) + le(1, 2) + le(22050, 4) + le(44100, 4) + le(2, 2) + le(16, 2);
  std::string body = "WAVEfmt " + le(16, 4) + fmt + "data" + le(static_cast<std::uint32_t>(data.size()), 4) + data;
  return "RIFF" + le(static_cast<std::uint32_t>(body.size()), 4) + body;
}

TEST_F(DropTest, EachMoveOverAnIconStartsItsOwnOverlappingPlayback) {
  start(entries(2, helperWithIcon()));
  writeFile(dataDirectory() + "\\1.wav", waveFile(22050));  // one second
  for (int i = 0; i < 3; ++i) {
    PostMessageW(icon(1).hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    ui::processPendingMessages();
  }
  ASSERT_TRUE(pumpUntil([] { return launcher::playbackCounts().started == 3; }, 5000))
      << "started " << launcher::playbackCounts().started;
  EXPECT_GE(launcher::playbackCounts().mostAtOnce, 2) << "quick moves overlap";
  // The test device writes what it plays to $HOME/sound-out.raw (a Unix path).
  if (const char* home = std::getenv("HOME"); home && home[0] == '/') {
    std::string out = std::string("Z:") + home + "/sound-out.raw";
    for (char& c : out) c = c == '/' ? '\\' : c;
    EXPECT_TRUE(pumpUntil([&out] { return readFile(out).size() > 1000; }, 5000)) << "sound reached " << out;
  }

  // Silent for a file that is no sound, a truncated one and no file.
  for (const std::string& bad : {std::string("not a sound"), waveFile(100).substr(0, 60), std::string()}) {
    if (bad.empty()) DeleteFileA((dataDirectory() + "\\1.wav").c_str());
    else writeFile(dataDirectory() + "\\1.wav", bad);
    const int before = launcher::playbackCounts().started;
    PostMessageW(icon(2).hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    ui::processPendingMessages();
    testing_support::pump(200);
    EXPECT_EQ(launcher::playbackCounts().started, before);
    EXPECT_EQ(borders(), (std::vector<int>{0, 5})) << "the frame changes all the same";
  }
}

}  // namespace
