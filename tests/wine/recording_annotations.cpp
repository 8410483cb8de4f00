// Stands in for the accessibility runtime's annotation service (CLSID_AccPropServices), whose
// Wine version accepts nothing: the accessibility test registers this library as the class's
// server for its run, and every string property that a program sets on a window appends one line
// to the file named by CORVANE_ANNOTATION_LOG: "<control id>\t<name|shortcut|other>\t<text>",
// the text in UTF-8.
#include <windows.h>

#include <oleacc.h>

#include <cstdio>
#include <cstring>

#include "sheet/accessibility_ids.h"

namespace {

constexpr GUID SHORTCUT_PROPERTY = {
    0x7d9bceee, 0x7d1e, 0x4979, {0x93, 0x82, 0x51, 0x80, 0xf4, 0x17, 0x2c, 0x34}};
constexpr GUID UNKNOWN_INTERFACE = {0, 0, 0, {0xc0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr GUID FACTORY_INTERFACE = {1, 0, 0, {0xc0, 0, 0, 0, 0, 0, 0, 0x46}};

void record(HWND window, const MSAAPROPID& property, LPCWSTR text) {
  char path[MAX_PATH];
  if (GetEnvironmentVariableA("CORVANE_ANNOTATION_LOG", path, sizeof path) == 0) return;
  char utf8[1024] = "";
  if (text != nullptr)
    WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
  const char* kind = IsEqualGUID(property, NAME_PROPERTY)       ? "name"
                     : IsEqualGUID(property, SHORTCUT_PROPERTY) ? "shortcut"
                                                                : "other";
  if (FILE* file = std::fopen(path, "ab")) {
    std::fprintf(file, "%d\t%s\t%s\n", GetDlgCtrlID(window), kind, utf8);
    std::fclose(file);
  }
}

// Both objects live as long as the library; each answers for IUnknown and its own interface.
template <typename Interface>
struct Static : Interface {
  explicit Static(const GUID& own) : ownInterface(own) {}
  HRESULT WINAPI QueryInterface(REFIID wanted, void** object) override {
    *object = IsEqualGUID(wanted, UNKNOWN_INTERFACE) || IsEqualGUID(wanted, ownInterface) ? this
                                                                                          : nullptr;
    return *object != nullptr ? S_OK : E_NOINTERFACE;
  }
  ULONG WINAPI AddRef() override { return 2; }
  ULONG WINAPI Release() override { return 1; }
  const GUID& ownInterface;
};

struct RecordingServices : Static<IAccPropServices> {
  RecordingServices() : Static(ACC_PROP_SERVICES_INTERFACE) {}
  HRESULT WINAPI SetPropValue(const BYTE*, DWORD, MSAAPROPID, VARIANT) override {
    return E_NOTIMPL;
  }
  HRESULT WINAPI SetPropServer(const BYTE*, DWORD, const MSAAPROPID*, int, IAccPropServer*,
                               AnnoScope) override {
    return E_NOTIMPL;
  }
  HRESULT WINAPI ClearProps(const BYTE*, DWORD, const MSAAPROPID*, int) override {
    return E_NOTIMPL;
  }
  HRESULT WINAPI SetHwndProp(HWND, DWORD, DWORD, MSAAPROPID, VARIANT) override { return E_NOTIMPL; }
  HRESULT WINAPI SetHwndPropStr(HWND window, DWORD object, DWORD child, MSAAPROPID property,
                                LPCWSTR text) override {
    if (object != static_cast<DWORD>(OBJID_CLIENT) || child != CHILDID_SELF) return E_INVALIDARG;
    record(window, property, text);
    return S_OK;
  }
  HRESULT WINAPI SetHwndPropServer(HWND, DWORD, DWORD, const MSAAPROPID*, int, IAccPropServer*,
                                   AnnoScope) override {
    return E_NOTIMPL;
  }
  HRESULT WINAPI ClearHwndProps(HWND, DWORD, DWORD, const MSAAPROPID*, int) override {
    return E_NOTIMPL;
  }
  HRESULT WINAPI ComposeHwndIdentityString(HWND, DWORD, DWORD, BYTE**, DWORD*) override {
    return E_NOTIMPL;
  }
  HRESULT WINAPI DecomposeHwndIdentityString(const BYTE*, DWORD, HWND*, DWORD*, DWORD*) override {
    return E_NOTIMPL;
  }
  HRESULT WINAPI SetHmenuProp(HMENU, DWORD, MSAAPROPID, VARIANT) override { return E_NOTIMPL; }
  HRESULT WINAPI SetHmenuPropStr(HMENU, DWORD, MSAAPROPID, LPCWSTR) override { return E_NOTIMPL; }
  HRESULT WINAPI SetHmenuPropServer(HMENU, DWORD, const MSAAPROPID*, int, IAccPropServer*,
                                    AnnoScope) override {
    return E_NOTIMPL;
  }
  HRESULT WINAPI ClearHmenuProps(HMENU, DWORD, const MSAAPROPID*, int) override {
    return E_NOTIMPL;
  }
  HRESULT WINAPI ComposeHmenuIdentityString(HMENU, DWORD, BYTE**, DWORD*) override {
    return E_NOTIMPL;
  }
  HRESULT WINAPI DecomposeHmenuIdentityString(const BYTE*, DWORD, HMENU*, DWORD*) override {
    return E_NOTIMPL;
  }
};

RecordingServices services;

struct Factory : Static<IClassFactory> {
  Factory() : Static(FACTORY_INTERFACE) {}
  HRESULT WINAPI CreateInstance(IUnknown* outer, REFIID wanted, void** object) override {
    *object = nullptr;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    return services.QueryInterface(wanted, object);
  }
  HRESULT WINAPI LockServer(BOOL) override { return S_OK; }
};

Factory factory;

}  // namespace

extern "C" __declspec(dllexport) HRESULT WINAPI
    DllGetClassObject(REFCLSID, REFIID wanted, void** object) {
  return factory.QueryInterface(wanted, object);
}

extern "C" __declspec(dllexport) HRESULT WINAPI DllCanUnloadNow() { return S_FALSE; }
