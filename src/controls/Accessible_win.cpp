#include "controls/Accessible_win.h"

#include "base/SystemLibrary_win.h"

namespace lumeno {

namespace {

constexpr GUID kIidIUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr GUID kIidIDispatch = {0x00020400, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// The few entry points used, found when a screen reader first asks: loading
// oleacc pulls in the COM libraries, which start-up has no use for.
struct TOleAcc {
  decltype(&::CreateStdAccessibleObject) CreateStd = nullptr;
  decltype(&::LresultFromObject) Lresult = nullptr;
  decltype(&::SysAllocStringLen) AllocString = nullptr;
  decltype(&::CoInitializeEx) InitializeCom = nullptr;
};

const TOleAcc* OleAcc() {
  static const TOleAcc loaded = [] {
    TOleAcc lib;
    HMODULE oleacc = LoadSystemLibrary(L"oleacc.dll");
    ResolveProc(oleacc, "CreateStdAccessibleObject", lib.CreateStd);
    ResolveProc(oleacc, "LresultFromObject", lib.Lresult);
    ResolveProc(LoadSystemLibrary(L"oleaut32.dll"), "SysAllocStringLen", lib.AllocString);
    ResolveProc(LoadSystemLibrary(L"ole32.dll"), "CoInitializeEx", lib.InitializeCom);
    // Handing an object to another process marshals it, which needs the
    // thread in an apartment; the GUI thread joins one for the rest of the run.
    if (lib.InitializeCom) lib.InitializeCom(nullptr, COINIT_APARTMENTTHREADED);
    return lib;
  }();
  const bool usable = loaded.CreateStd && loaded.Lresult && loaded.AllocString;
  return usable ? &loaded : nullptr;
}

HRESULT ReturnString(const std::wstring& text, BSTR* out) {
  if (!out) return E_POINTER;
  const TOleAcc* lib = OleAcc();
  *out = lib ? lib->AllocString(text.c_str(), static_cast<UINT>(text.size())) : nullptr;
  return *out ? S_OK : E_OUTOFMEMORY;
}

}  // namespace

TAccessibleProxy::TAccessibleProxy(HWND hwnd, IAccessible* standard) : FHwnd(hwnd), FStandard(standard) {}

TAccessibleProxy::~TAccessibleProxy() {
  if (FStandard) FStandard->Release();
}

bool TAccessibleProxy::Own(const VARIANT& child) const {
  return child.vt == VT_I4 && child.lVal == CHILDID_SELF && IsWindow(FHwnd);
}

HRESULT TAccessibleProxy::QueryInterface(REFIID riid, void** object) {
  if (!object) return E_POINTER;
  if (IsEqualIID(riid, kIidIUnknown) || IsEqualIID(riid, kIidIDispatch) || IsEqualIID(riid, kIidIAccessible)) {
    *object = static_cast<IAccessible*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG TAccessibleProxy::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&FRefs)); }

ULONG TAccessibleProxy::Release() {
  const LONG left = InterlockedDecrement(&FRefs);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

HRESULT TAccessibleProxy::GetTypeInfoCount(UINT* count) { return FStandard->GetTypeInfoCount(count); }

HRESULT TAccessibleProxy::GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) {
  return FStandard->GetTypeInfo(index, lcid, info);
}

HRESULT TAccessibleProxy::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) {
  return FStandard->GetIDsOfNames(riid, names, count, lcid, ids);
}

HRESULT TAccessibleProxy::Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                                 EXCEPINFO* exception, UINT* argError) {
  return FStandard->Invoke(id, riid, lcid, flags, params, result, exception, argError);
}

HRESULT TAccessibleProxy::get_accParent(IDispatch** parent) { return FStandard->get_accParent(parent); }

HRESULT TAccessibleProxy::get_accChildCount(long* count) { return FStandard->get_accChildCount(count); }

HRESULT TAccessibleProxy::get_accChild(VARIANT child, IDispatch** result) {
  return FStandard->get_accChild(child, result);
}

HRESULT TAccessibleProxy::get_accName(VARIANT child, BSTR* name) {
  std::wstring text;
  if (Own(child) && Name(text)) return ReturnString(text, name);
  return FStandard->get_accName(child, name);
}

HRESULT TAccessibleProxy::get_accValue(VARIANT child, BSTR* value) {
  std::wstring text;
  if (Own(child) && Value(text)) return ReturnString(text, value);
  return FStandard->get_accValue(child, value);
}

HRESULT TAccessibleProxy::get_accDescription(VARIANT child, BSTR* description) {
  return FStandard->get_accDescription(child, description);
}

HRESULT TAccessibleProxy::get_accRole(VARIANT child, VARIANT* role) {
  if (Own(child) && Role() != 0) {
    if (!role) return E_POINTER;
    role->vt = VT_I4;
    role->lVal = Role();
    return S_OK;
  }
  return FStandard->get_accRole(child, role);
}

HRESULT TAccessibleProxy::get_accState(VARIANT child, VARIANT* state) {
  const HRESULT hr = FStandard->get_accState(child, state);
  if (SUCCEEDED(hr) && state && state->vt == VT_I4 && Own(child)) state->lVal |= ExtraState();
  return hr;
}

HRESULT TAccessibleProxy::get_accHelp(VARIANT child, BSTR* help) { return FStandard->get_accHelp(child, help); }

HRESULT TAccessibleProxy::get_accHelpTopic(BSTR* helpFile, VARIANT child, long* topic) {
  return FStandard->get_accHelpTopic(helpFile, child, topic);
}

HRESULT TAccessibleProxy::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) {
  return FStandard->get_accKeyboardShortcut(child, shortcut);
}

HRESULT TAccessibleProxy::get_accFocus(VARIANT* child) { return FStandard->get_accFocus(child); }

HRESULT TAccessibleProxy::get_accSelection(VARIANT* children) { return FStandard->get_accSelection(children); }

HRESULT TAccessibleProxy::get_accDefaultAction(VARIANT child, BSTR* action) {
  if (Own(child) && DefaultAction()) return ReturnString(DefaultAction(), action);
  return FStandard->get_accDefaultAction(child, action);
}

HRESULT TAccessibleProxy::accSelect(long flags, VARIANT child) { return FStandard->accSelect(flags, child); }

HRESULT TAccessibleProxy::accLocation(long* left, long* top, long* width, long* height, VARIANT child) {
  return FStandard->accLocation(left, top, width, height, child);
}

HRESULT TAccessibleProxy::accNavigate(long direction, VARIANT start, VARIANT* end) {
  return FStandard->accNavigate(direction, start, end);
}

HRESULT TAccessibleProxy::accHitTest(long left, long top, VARIANT* child) {
  return FStandard->accHitTest(left, top, child);
}

HRESULT TAccessibleProxy::accDoDefaultAction(VARIANT child) {
  if (Own(child) && DefaultAction()) return DoDefaultAction() ? S_OK : DISP_E_MEMBERNOTFOUND;
  return FStandard->accDoDefaultAction(child);
}

HRESULT TAccessibleProxy::put_accName(VARIANT child, BSTR name) { return FStandard->put_accName(child, name); }

HRESULT TAccessibleProxy::put_accValue(VARIANT child, BSTR value) { return FStandard->put_accValue(child, value); }

LRESULT AnswerGetObject(HWND hwnd, WPARAM wp, LPARAM lp, TAccessibleFactory make, WNDPROC fallback) {
  // The object id travels in the low 32 bits.
  if (static_cast<LONG>(lp) != OBJID_CLIENT) return fallback(hwnd, WM_GETOBJECT, wp, lp);
  const TOleAcc* lib = OleAcc();
  IAccessible* standard = nullptr;
  if (!lib || FAILED(lib->CreateStd(hwnd, OBJID_CLIENT, kIidIAccessible, reinterpret_cast<void**>(&standard))) ||
      !standard)
    return fallback(hwnd, WM_GETOBJECT, wp, lp);
  TAccessibleProxy* object = make(hwnd, standard);
  if (!object) {
    standard->Release();
    return fallback(hwnd, WM_GETOBJECT, wp, lp);
  }
  const LRESULT result = lib->Lresult(kIidIAccessible, wp, static_cast<IAccessible*>(object));
  object->Release();
  return result;
}

void NotifyValueChanged(HWND hwnd) {
  if (hwnd) NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, hwnd, OBJID_CLIENT, CHILDID_SELF);
}

}  // namespace lumeno
