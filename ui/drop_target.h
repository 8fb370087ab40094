// An OLE drop target that takes dropped files only and hands them over as
// one text per drop: one path, or with several files every path followed by
// CR LF. Texts, HTML and web addresses are refused.
#pragma once
#include <windows.h>
#include <ole2.h>

#include <functional>
#include <string>

namespace ui {

class FileDropTarget final : public IDropTarget {
 public:
  using Handler = std::function<void(const std::string& dropped)>;
  explicit FileDropTarget(Handler handler) : handler_(std::move(handler)) {}
  FileDropTarget(const FileDropTarget&) = delete;
  FileDropTarget& operator=(const FileDropTarget&) = delete;

  // Registers this target on the window, once; the result is not reported.
  void registerOn(HWND window);
  void revoke();

  // IUnknown. The window owns the object; the count only serves OLE.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs_; }

  // IDropTarget.
  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL at, DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL at, DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragLeave() override;
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL at, DWORD* effect) override;

  // The text a drop of this data object gives, or false when it holds no files.
  static bool droppedText(IDataObject* data, std::string& text);

 private:
  Handler handler_;
  ULONG refs_ = 1;
  HWND registeredOn_ = nullptr;
  bool acceptable_ = false;
};

}  // namespace ui
