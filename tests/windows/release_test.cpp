// The release as a user gets it. tests/release/unpacked_test unpacks the zip
// with a real unzip into a folder whose path has a blank and Chinese
// characters and runs these tests with BAR_RELEASE_DIR naming that folder and
// BAR_RELEASE_VERSION the version the build was given; they are left out of
// the ordinary test run.
#include <windows.h>
#include <ole2.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <algorithm>

#include <gtest/gtest.h>

#include "support.h"
#include "ui/com.h"

namespace {

using testing_support::barWindowOf;
using testing_support::childrenOfClass;
using testing_support::closeWithEscape;
using testing_support::readFile;

std::wstring environment(const wchar_t* name) {
  wchar_t value[1024] = {};
  const DWORD n = GetEnvironmentVariableW(name, value, 1024);
  return n > 0 && n < 1024 ? value : L"";
}

std::string ansi(const std::wstring& wide) {
  char narrow[2048] = {};
  WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, narrow, sizeof narrow, nullptr, nullptr);
  return narrow;
}

class Release : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = environment(L"BAR_RELEASE_DIR");
    ASSERT_FALSE(dir_.empty()) << "run through tests/release/unpacked_test";
    OleInitialize(nullptr);
  }
  void TearDown() override { OleUninitialize(); }

  // bar.exe started from the folder as Explorer starts it: its own process,
  // the folder as current directory. Waits for the bar in its final place.
  HWND start(PROCESS_INFORMATION& process) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    std::wstring commandLine = L"\"" + dir_ + L"\\bar.exe\"";
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, dir_.c_str(), &si,
                        &process)) {
      ADD_FAILURE() << "bar.exe did not start: " << GetLastError();
      return nullptr;
    }
    HWND bar = nullptr;
    for (int i = 0; i < 1500 && !bar; ++i, Sleep(20)) bar = barWindowOf(process.dwProcessId);
    RECT r{};
    for (int i = 0; bar && i < 100; ++i, Sleep(20)) {  // the final place comes with the first activation
      GetWindowRect(bar, &r);
      if (r.top != 2) break;
    }
    Sleep(300);  // let it finish drawing
    return bar;
  }

  std::wstring dir_;
};

std::wstring caption(HWND control) {
  wchar_t text[128] = {};
  GetWindowTextW(control, text, 128);
  return text;
}

// The shell's own data object for a file, as Explorer hands it to a drag.
ui::ComPtr<IDataObject> shellDataObject(const std::string& path) {
  ui::ComPtr<IDataObject> data;
  wchar_t wide[MAX_PATH] = {};
  MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
  PIDLIST_ABSOLUTE item = nullptr;
  if (FAILED(SHParseDisplayName(wide, nullptr, &item, 0, nullptr))) return data;
  ui::ComPtr<IShellFolder> folder;
  PCUITEMID_CHILD child = nullptr;
  if (SUCCEEDED(SHBindToParent(item, IID_IShellFolder, reinterpret_cast<void**>(folder.put()), &child))) {
    folder->GetUIObjectOf(nullptr, 1, &child, IID_IDataObject, nullptr, reinterpret_cast<void**>(data.put()));
  }
  CoTaskMemFree(item);
  return data;
}

// A drag that lets OLE poll a few times with the cursor where it was put, so
// the window under it is entered, and then drops.
class DropAfterAFewPolls final : public IDropSource {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDropSource)) {
      *out = this;
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD) override {
    if (escape) return DRAGDROP_S_CANCEL;
    return ++polls_ < 5 ? S_OK : DRAGDROP_S_DROP;
  }
  HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

 private:
  int polls_ = 0;
};

TEST_F(Release, UnpackedBarStartsEmptyKeepsADroppedShortcutInItsFolderAndShowsItNextTime) {
  const std::string folder = ansi(dir_);
  const std::string list = folder + "\\data\\quvo.ini";
  ASSERT_FALSE(testing_support::fileExists(list)) << "the zip holds no list file";

  PROCESS_INFORMATION first{};
  HWND bar = start(first);
  ASSERT_NE(bar, nullptr);
  EXPECT_TRUE(childrenOfClass(bar, L"ui.PictureBox").size() == 1u) << "only the weather picture, no icon";
  std::vector<std::wstring> captions;
  for (HWND l : childrenOfClass(bar, L"ui.Label")) captions.push_back(caption(l));
  std::sort(captions.begin(), captions.end());
  EXPECT_EQ(captions, (std::vector<std::wstring>{L"", L" \x6700\x9AD8 \x2103"}))
      << "no weather from the sample address: an empty condition and \" 最高 ℃\"";
  RECT r{};
  GetWindowRect(bar, &r);
  const ui::Picture before = testing_support::grabScreen(r);
  int pictured = 0;
  for (int y = 0; y < 21; ++y) {
    for (int x = 336; x < 375; ++x) pictured += testing_support::rgbAt(before, x, y) != 0xFFFFFFu;
  }
  EXPECT_EQ(pictured, 0) << "no condition picture";

  // A user's drag of a shortcut from another folder: the shell's data object,
  // carried by OLE's own drag loop to the window under the cursor, which is
  // the bar's registered drop target in its own process.
  const std::string shortcuts = testing_support::exeDirectory() + "\\release-drop";
  CreateDirectoryA(shortcuts.c_str(), nullptr);
  const std::string lnk = shortcuts + "\\helper.lnk";
  testing_support::makeShortcut(lnk, testing_support::helperWithIcon());
  ui::ComPtr<IDataObject> data = shellDataObject(lnk);
  ASSERT_TRUE(data) << lnk;
  SetCursorPos(r.left + 150, r.top + 18);  // empty bar between the icons and the weather
  DropAfterAFewPolls source;
  DWORD effect = DROPEFFECT_NONE;
  EXPECT_EQ(DoDragDrop(data.get(), &source, DROPEFFECT_COPY | DROPEFFECT_LINK, &effect), DRAGDROP_S_DROP);
  EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY)) << "the bar took it";
  const std::string expected = "[cumulative]\r\nvalue=1\r\n1=" + testing_support::helperWithIcon() + "\r\n";
  for (int i = 0; i < 250 && readFile(list) != expected; ++i) Sleep(20);
  EXPECT_EQ(readFile(list), expected) << "kept in the unpacked folder's data\\quvo.ini";
  EXPECT_EQ(childrenOfClass(bar, L"ui.PictureBox").size(), 2u) << "the new icon is shown at once";
  EXPECT_EQ(closeWithEscape(bar, first), 0u);
  DeleteFileA(lnk.c_str());
  RemoveDirectoryA(shortcuts.c_str());

  PROCESS_INFORMATION second{};
  bar = start(second);
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(childrenOfClass(bar, L"ui.PictureBox").size(), 2u) << "the icon and the weather picture";
  GetWindowRect(bar, &r);
  const ui::Picture after = testing_support::grabScreen(r);
  ASSERT_EQ(after.width, 424);
  EXPECT_EQ(testing_support::rgbAt(after, 2 + 16, 3 + 16), 0xFF0000u) << "the helper's red icon in slot 1";
  EXPECT_EQ(closeWithEscape(bar, second), 0u);
}

std::wstring versionString(const std::vector<char>& block, const std::wstring& name) {
  void* value = nullptr;
  UINT length = 0;
  const std::wstring path = L"\\StringFileInfo\\080404B0\\" + name;
  if (!VerQueryValueW(block.data(), path.c_str(), &value, &length) || !value) return L"(missing)";
  return static_cast<const wchar_t*>(value);
}

TEST_F(Release, BarExeCarriesItsVersionResourceInChinese) {
  const std::wstring exe = dir_ + L"\\bar.exe";
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &ignored);
  ASSERT_GT(size, 0u) << "no version resource";
  std::vector<char> block(size);
  ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, size, block.data()));

  const std::wstring version = environment(L"BAR_RELEASE_VERSION");
  unsigned major = 0, minor = 0, patch = 0;
  ASSERT_EQ(swscanf(version.c_str(), L"%u.%u.%u", &major, &minor, &patch), 3) << "BAR_RELEASE_VERSION";
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(fixed->dwFileVersionMS, (major << 16) | minor);
  EXPECT_EQ(fixed->dwFileVersionLS, patch << 16);
  EXPECT_EQ(fixed->dwProductVersionMS, (major << 16) | minor);
  EXPECT_EQ(fixed->dwProductVersionLS, patch << 16);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

  WORD* translation = nullptr;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                             &length));
  ASSERT_EQ(length, 4u) << "one language";
  EXPECT_EQ(translation[0], 0x0804) << "Chinese (PRC)";
  EXPECT_EQ(translation[1], 1200) << "Unicode";

  const std::wstring name = L"\x542F\x52A8\x5DE5\x5177\x6761";  // 启动工具条
  const std::pair<const wchar_t*, std::wstring> fields[] = {
      {L"FileDescription", name}, {L"ProductName", name},           {L"FileVersion", version},
      {L"ProductVersion", version}, {L"OriginalFilename", L"bar.exe"},
  };
  for (const auto& [field, expected] : fields) EXPECT_EQ(versionString(block, field), expected) << field;
}

}  // namespace
