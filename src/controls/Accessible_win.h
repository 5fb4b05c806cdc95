// What the program's own controls tell screen readers (MSAA). A control that
// needs more than the system's standard proxy answers WM_GETOBJECT with a
// TAccessibleProxy: the standard proxy of its window with the role, name,
// value, state or default action it knows better. oleacc and the COM
// libraries are loaded on the first request, never at start-up.
#pragma once

#include <windows.h>
#include <oleacc.h>

#include <string>

namespace lumeno {

// Spelled out: under Wine the import library's IID_IAccessible symbol does
// not match what oleacc answers to.
inline constexpr GUID kIidIAccessible = {0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

class TAccessibleProxy : public IAccessible {
 public:
  TAccessibleProxy(const TAccessibleProxy&) = delete;
  TAccessibleProxy& operator=(const TAccessibleProxy&) = delete;

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  // IDispatch, handed to the standard proxy.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid,
                                          DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* exception, UINT* argError) override;
  // IAccessible
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override;
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** result) override;
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override;
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override;
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override;
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* helpFile, VARIANT child, long* topic) override;
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override;
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override;
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override;
  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override;
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override;
  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override;
  HRESULT STDMETHODCALLTYPE accHitTest(long left, long top, VARIANT* child) override;
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override;
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override;

 protected:
  // Holds a reference to the standard proxy of the window's client area.
  TAccessibleProxy(HWND hwnd, IAccessible* standard);
  virtual ~TAccessibleProxy();

  // What the control knows better; false (or 0) leaves the answer to the
  // standard proxy. Asked only while the window exists, about the object
  // itself (not a child).
  virtual long Role() const { return 0; }
  virtual bool Name(std::wstring&) const { return false; }
  virtual bool Value(std::wstring&) const { return false; }
  // Added to the standard proxy's state bits.
  virtual long ExtraState() const { return 0; }
  virtual const wchar_t* DefaultAction() const { return nullptr; }
  // Starts the default action; false when there is none.
  virtual bool DoDefaultAction() { return false; }

  HWND FHwnd;

 private:
  // True when the request is about this object while its window lives.
  bool Own(const VARIANT& child) const;

  IAccessible* FStandard;
  LONG FRefs = 1;
};

// Makes the object for a window (taking over the reference to the standard
// proxy it is given), or null.
using TAccessibleFactory = TAccessibleProxy* (*)(HWND hwnd, IAccessible* standard);

// WM_GETOBJECT: for the client area, the object make builds, handed over
// with LresultFromObject; anything else (or a failure) goes to fallback (a
// subclass passes DefSubclassProc, so the chain below it answers).
LRESULT AnswerGetObject(HWND hwnd, WPARAM wp, LPARAM lp, TAccessibleFactory make, WNDPROC fallback = DefWindowProcW);

// Tells listening screen readers that the window's value changed; nearly
// free when nobody listens.
void NotifyValueChanged(HWND hwnd);

}  // namespace lumeno
