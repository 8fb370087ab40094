// A shortcut to drag, for the README tour: makes a .lnk to TARGET in the temp
// folder and shows it as a small window; pressing the left button on it
// starts a real OLE drag of that file (the shell's own data object, CF_HDROP),
// so a drop on the bar goes through the same path as one from Explorer.
//
//   drag_source TARGET.exe
#include <windows.h>
#include <objbase.h>
#include <ole2.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <string>

namespace {

std::wstring linkPath;

class DropSource : public IDropSource {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (riid == IID_IUnknown || riid == IID_IDropSource) {
      *out = static_cast<IDropSource*>(this);
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD keys) override {
    if (escape) return DRAGDROP_S_CANCEL;
    return (keys & MK_LBUTTON) ? S_OK : DRAGDROP_S_DROP;
  }
  HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }
};

// The shell's data object for the shortcut file, as Explorer would offer it.
IDataObject* dataObjectFor(const std::wstring& path) {
  PIDLIST_ABSOLUTE pidl = nullptr;
  if (FAILED(SHParseDisplayName(path.c_str(), nullptr, &pidl, 0, nullptr))) return nullptr;
  IShellFolder* folder = nullptr;
  PCUITEMID_CHILD child = nullptr;
  IDataObject* data = nullptr;
  if (SUCCEEDED(SHBindToParent(pidl, IID_IShellFolder, reinterpret_cast<void**>(&folder), &child))) {
    folder->GetUIObjectOf(nullptr, 1, &child, IID_IDataObject, nullptr, reinterpret_cast<void**>(&data));
    folder->Release();
  }
  CoTaskMemFree(pidl);
  return data;
}

bool makeLink(const std::string& target, const std::wstring& at) {
  IShellLinkA* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&link)))) {
    return false;
  }
  link->SetPath(target.c_str());
  IPersistFile* file = nullptr;
  bool saved = false;
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    saved = SUCCEEDED(file->Save(at.c_str(), TRUE));
    file->Release();
  }
  link->Release();
  return saved;
}

LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_LBUTTONDOWN: {
      if (IDataObject* data = dataObjectFor(linkPath)) {
        DropSource source;
        DWORD effect = 0;
        DoDragDrop(data, &source, DROPEFFECT_COPY | DROPEFFECT_LINK, &effect);
        data->Release();
      }
      return 0;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      RECT r;
      GetClientRect(hwnd, &r);
      FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
      DrawIcon(dc, 8, 4, LoadIcon(nullptr, IDI_APPLICATION));
      r.left = 48;
      DrawTextW(dc, L"shortcut.lnk", -1, &r, DT_SINGLELINE | DT_VCENTER);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  if (FAILED(OleInitialize(nullptr))) return 1;
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  linkPath = std::wstring(temp) + L"tour-shortcut.lnk";
  if (!makeLink(argv[1], linkPath)) return 1;

  WNDCLASSW wc{};
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = L"TourDragSource";
  RegisterClassW(&wc);
  // Top left of the screen, where the tour script presses on it.
  HWND hwnd = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"TourDragSource", L"", WS_POPUP | WS_BORDER | WS_VISIBLE,
                              20, 20, 160, 40, nullptr, nullptr, wc.hInstance, nullptr);
  (void)hwnd;
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  DeleteFileW(linkPath.c_str());
  OleUninitialize();
  return 0;
}
