/* The floor for start-up: the least a careful programmer would write to do
   the bar's platform work before showing its window. OLE, both INI files, one
   GET of the weather page (WinINet), a layered topmost popup owned by a hidden
   tool window with the rounded region, 16 ExtractIconA into an image list
   painted in WM_PAINT (no child windows), RegisterDragDrop. Closed by WM_CLOSE. */
#define COBJMACROS
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
#include <shellapi.h>
#include <wininet.h>

#include <stdio.h>
#include <string.h>

static HIMAGELIST images;
static int iconCount;

/* A drop target that takes nothing: the registration is what costs. */
static HRESULT STDMETHODCALLTYPE dtQueryInterface(IDropTarget* self, REFIID riid, void** out) {
  if (IsEqualIID(riid, &IID_IUnknown) || IsEqualIID(riid, &IID_IDropTarget)) {
    *out = self;
    return S_OK;
  }
  *out = NULL;
  return E_NOINTERFACE;
}
static ULONG STDMETHODCALLTYPE dtAddRef(IDropTarget* self) { (void)self; return 2; }
static ULONG STDMETHODCALLTYPE dtRelease(IDropTarget* self) { (void)self; return 1; }
static HRESULT STDMETHODCALLTYPE dtDragEnter(IDropTarget* self, IDataObject* data, DWORD keys, POINTL pt, DWORD* effect) {
  (void)self; (void)data; (void)keys; (void)pt;
  *effect = DROPEFFECT_NONE;
  return S_OK;
}
static HRESULT STDMETHODCALLTYPE dtDragOver(IDropTarget* self, DWORD keys, POINTL pt, DWORD* effect) {
  (void)self; (void)keys; (void)pt;
  *effect = DROPEFFECT_NONE;
  return S_OK;
}
static HRESULT STDMETHODCALLTYPE dtDragLeave(IDropTarget* self) { (void)self; return S_OK; }
static HRESULT STDMETHODCALLTYPE dtDrop(IDropTarget* self, IDataObject* data, DWORD keys, POINTL pt, DWORD* effect) {
  (void)self; (void)data; (void)keys; (void)pt;
  *effect = DROPEFFECT_NONE;
  return S_OK;
}
static IDropTargetVtbl dropVtbl = {dtQueryInterface, dtAddRef, dtRelease, dtDragEnter, dtDragOver, dtDragLeave, dtDrop};
static IDropTarget dropTarget = {&dropVtbl};

static void fetchPage(const char* url) {
  HINTERNET session = InternetOpenA("floor", INTERNET_OPEN_TYPE_DIRECT, NULL, NULL, 0);
  if (!session) return;
  HINTERNET request = InternetOpenUrlA(session, url, NULL, 0, INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0);
  if (request) {
    static char body[1 << 16];
    DWORD got = 0;
    while (InternetReadFile(request, body, sizeof body, &got) && got > 0) {
    }
    InternetCloseHandle(request);
  }
  InternetCloseHandle(session);
}

static LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      FillRect(dc, &ps.rcPaint, (HBRUSH)GetStockObject(WHITE_BRUSH));
      for (int i = 0; i < iconCount; ++i) ImageList_Draw(images, i, dc, 2 + 35 * i, 3, ILD_NORMAL);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_DESTROY:
      RevokeDragDrop(hwnd);
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
  (void)previous;
  (void)commandLine;
  (void)show;
  if (FAILED(OleInitialize(NULL))) return 1;

  char dir[MAX_PATH];
  GetModuleFileNameA(NULL, dir, MAX_PATH);
  *strrchr(dir, '\\') = 0;
  char weatherFile[MAX_PATH + 32], listFile[MAX_PATH + 32], url[2048];
  snprintf(weatherFile, sizeof weatherFile, "%s\\data\\tianq.txt", dir);
  snprintf(listFile, sizeof listFile, "%s\\data\\quvo.ini", dir);
  GetPrivateProfileStringA("wangzhi", "tianq", "", url, sizeof url, weatherFile);
  if (url[0]) fetchPage(url);

  WNDCLASSW wc = {0};
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(NULL, (LPCWSTR)IDC_ARROW);
  wc.lpszClassName = L"FloorWindow";
  RegisterClassW(&wc);
  HWND owner = CreateWindowExW(WS_EX_TOOLWINDOW, L"FloorWindow", L"", WS_POPUP, 0, 0, 0, 0, NULL, NULL, instance, NULL);
  const int count = (int)GetPrivateProfileIntA("cumulative", "value", 0, listFile);
  const int width = 424 + 35 * (count > 8 ? (count > 16 ? 8 : count - 8) : 0);
  HWND hwnd = CreateWindowExW(WS_EX_TOPMOST | WS_EX_LAYERED, L"FloorWindow", L"", WS_POPUP,
                              GetSystemMetrics(SM_CXSCREEN) - 1100, GetSystemMetrics(SM_CYSCREEN) - 77, width, 37,
                              owner, NULL, instance, NULL);
  SetLayeredWindowAttributes(hwnd, 0, 190, LWA_ALPHA);
  SetWindowRgn(hwnd, CreateRoundRectRgn(0, 0, width, 37, 7, 7), TRUE);

  images = ImageList_Create(32, 32, ILC_COLOR32 | ILC_MASK, 0, 1);
  for (int n = 1; n <= count && n <= 16; ++n) {
    char key[4], path[MAX_PATH];
    snprintf(key, sizeof key, "%d", n);
    GetPrivateProfileStringA("cumulative", key, "", path, sizeof path, listFile);
    HICON icon = ExtractIconA(instance, path, 0);
    if (icon && icon != (HICON)1) {
      ImageList_AddIcon(images, icon);
      DestroyIcon(icon);
      ++iconCount;
    }
  }
  RegisterDragDrop(hwnd, &dropTarget);

  ShowWindow(hwnd, SW_SHOW);
  MSG msg;
  while (GetMessageW(&msg, NULL, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  ImageList_Destroy(images);
  DestroyWindow(owner);
  OleUninitialize();
  return 0;
}
