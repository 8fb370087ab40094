#include "ui/drop_target.h"

#include <shellapi.h>

#include <new>
#include <vector>

namespace ui {
namespace {

FORMATETC filesFormat() { return {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}; }

}  // namespace

void FileDropTarget::registerOn(HWND window) {
  if (registeredOn_) return;
  if (SUCCEEDED(RegisterDragDrop(window, this))) registeredOn_ = window;
}

void FileDropTarget::revoke() {
  if (registeredOn_) RevokeDragDrop(registeredOn_);
  registeredOn_ = nullptr;
}

HRESULT FileDropTarget::QueryInterface(REFIID riid, void** object) {
  if (!object) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDropTarget)) {
    *object = static_cast<IDropTarget*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

HRESULT FileDropTarget::DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) {
  FORMATETC format = filesFormat();
  acceptable_ = data && data->QueryGetData(&format) == S_OK;
  if (effect) *effect = acceptable_ ? DROPEFFECT_COPY : DROPEFFECT_NONE;
  return S_OK;
}

HRESULT FileDropTarget::DragOver(DWORD, POINTL, DWORD* effect) {
  if (effect) *effect = acceptable_ ? DROPEFFECT_COPY : DROPEFFECT_NONE;
  return S_OK;
}

HRESULT FileDropTarget::DragLeave() {
  acceptable_ = false;
  return S_OK;
}

bool FileDropTarget::droppedText(IDataObject* data, std::string& text) {
  if (!data) return false;
  FORMATETC format = filesFormat();
  STGMEDIUM medium{};
  if (FAILED(data->GetData(&format, &medium))) return false;
  bool ok = false;
  if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal) {
    auto drop = static_cast<HDROP>(GlobalLock(medium.hGlobal));
    if (drop) {
      const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
      text.clear();
      for (UINT i = 0; i < count; ++i) {
        const UINT length = DragQueryFileA(drop, i, nullptr, 0);
        std::vector<char> name(length + 1, '\0');
        DragQueryFileA(drop, i, name.data(), length + 1);
        text.append(name.data(), length);
        if (count > 1) text += "\r\n";
      }
      ok = count > 0;
      GlobalUnlock(medium.hGlobal);
    }
  }
  ReleaseStgMedium(&medium);
  return ok;
}

HRESULT FileDropTarget::Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) {
  acceptable_ = false;
  if (effect) *effect = DROPEFFECT_NONE;
  try {
    std::string text;
    if (!droppedText(data, text)) return S_OK;
    if (effect) *effect = DROPEFFECT_COPY;
    if (handler_) handler_(text);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_UNEXPECTED;
  }
  return S_OK;
}

}  // namespace ui
