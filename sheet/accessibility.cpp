// What a screen reader and a keyboard user need from the pages beyond what the templates give:
// names for the inputs that the system cannot name, and a read-only text that leaves the dialog
// keys to the dialog.
#include <windows.h>

#include <oleacc.h>

#include <array>

#include "base/library_search.h"
#include "resources/resource.h"
#include "sheet/accessibility_ids.h"
#include "sheet/sheet.h"

namespace {

// A screen reader names an edit after the static text just before it. These follow their
// Browse buttons instead, so each is named after the group box that holds it, as the system
// would name an input that follows its group box.
constexpr std::array<int, 4> INPUTS_IN_GROUP_BOXES = {IDC_DVI_FILE, IDC_PS_FILE, IDC_PROGRAM_FILE,
                                                      IDC_GHOSTSCRIPT_FILE};

// The page timer that names the inputs; the sheet's icon timer is 1.
constexpr UINT_PTR NAMES_TIMER = 2;

// The accessibility runtime is bound when the first page that needs it has painted, not at
// start-up; a system without it leaves the inputs unnamed.
IAccPropServices* propertyServices() {
  static IAccPropServices* services = nullptr;
  static bool bound = false;
  if (bound) return services;
  bound = true;
  using CreateFunction = HRESULT(WINAPI*)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*);
  const auto create = systemFunction<CreateFunction>("ole32.dll", "CoCreateInstance");
  if (create == nullptr || !initializeCom()) return nullptr;
  void* created = nullptr;
  if (SUCCEEDED(create(ACC_PROP_SERVICES_CLASS, nullptr, CLSCTX_INPROC_SERVER,
                       ACC_PROP_SERVICES_INTERFACE, &created)))
    services = static_cast<IAccPropServices*>(created);
  return services;
}

HWND groupBoxBefore(HWND control) {
  for (HWND before = GetWindow(control, GW_HWNDPREV); before != nullptr;
       before = GetWindow(before, GW_HWNDPREV)) {
    char className[8];
    if (GetClassNameA(before, className, sizeof className) != 0 &&
        lstrcmpiA(className, "Button") == 0 &&
        (GetWindowLongA(before, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX)
      return before;
  }
  return nullptr;
}

// The group box's caption as the screen shows it: an '&' is drawn only when doubled. The group
// boxes have no mnemonic, so the inputs have no shortcut to be given.
void nameInputs(HWND page) {
  IAccPropServices* const services = propertyServices();
  if (services == nullptr) return;
  for (const int id : INPUTS_IN_GROUP_BOXES) {
    const HWND input = GetDlgItem(page, id);
    const HWND label = input == nullptr ? nullptr : groupBoxBefore(input);
    if (label == nullptr) continue;
    wchar_t caption[PATH_FIELD_SIZE];
    wchar_t name[PATH_FIELD_SIZE];
    GetWindowTextW(label, caption, PATH_FIELD_SIZE);
    wchar_t* to = name;
    for (const wchar_t* at = caption; *at != L'\0'; ++at) {
      if (*at == L'&' && at[1] != L'\0') ++at;
      *to++ = *at;
    }
    *to = L'\0';
    services->SetHwndPropStr(input, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, NAME_PROPERTY,
                             name);
  }
}

bool hasInputInGroupBox(HWND page) {
  for (const int id : INPUTS_IN_GROUP_BOXES)
    if (GetDlgItem(page, id) != nullptr) return true;
  return false;
}

// A multi-line edit asks for every key, Tab, Enter and Esc included; a read-only one has no use
// for them, and leaves them to the dialog so that the keyboard can leave it and close the sheet.
WNDPROC readOnlyTextProcedure = nullptr;

LRESULT CALLBACK readOnlyTextProc(HWND text, UINT message, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = CallWindowProcA(readOnlyTextProcedure, text, message, wParam, lParam);
  if (message != WM_GETDLGCODE) return result;
  return result & ~static_cast<LRESULT>(DLGC_WANTALLKEYS | DLGC_WANTTAB);
}

}  // namespace

void prepareForAssistance(HWND page) {
  if (const HWND text = GetDlgItem(page, IDC_PROGRAMS_THAT_RUN)) {
    const auto previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(text, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(readOnlyTextProc)));
    if (readOnlyTextProcedure == nullptr) readOnlyTextProcedure = previous;
  }
  // The names cost the accessibility runtime's loading, so the page is named once it has
  // painted, as the icons are given.
  if (hasInputInGroupBox(page) && SetTimer(page, NAMES_TIMER, USER_TIMER_MINIMUM, nullptr) == 0)
    nameInputs(page);
}

void onNamesTimer(HWND page, UINT_PTR timer) {
  if (timer != NAMES_TIMER) return;
  KillTimer(page, NAMES_TIMER);
  nameInputs(page);
}
