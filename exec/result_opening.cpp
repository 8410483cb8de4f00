// Opening a run's result with the shell.
#include "exec/result_opening.h"

#include <shellapi.h>

#include "base/library_search.h"
#include "base/text.h"
#include "resources/resource.h"

// The shell is bound when a result is opened, not at start-up; COM is ready for the handlers
// that the association may name. The shell shows no box of its own and does not return before the
// program is started, so that Corvane can tell the real reason when it fails.
void openResult(const char* result, const RunMessages& to) {
  using ShellExecuteExFunction = BOOL(WINAPI*)(SHELLEXECUTEINFOW*);
  initializeCom();
  const auto shellExecute =
      systemFunction<ShellExecuteExFunction>("shell32.dll", "ShellExecuteExW");
  ZERO_FILLED static wchar_t wide[MAX_PATH];
  if (shellExecute == nullptr || MultiByteToWideChar(CP_ACP, 0, result, -1, wide, MAX_PATH) == 0) {
    to.systemError(0, result);
    return;
  }
  SHELLEXECUTEINFOW execute = {};
  execute.cbSize = sizeof execute;
  execute.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
  execute.lpVerb = L"open";
  execute.lpFile = wide;
  execute.nShow = SW_SHOWNORMAL;
  if (shellExecute(&execute)) return;
  // With no program set for the file's type the shell may also try to run the file itself, which
  // is no program: that is "no association" too.
  const DWORD error = GetLastError();
  if (error != ERROR_NO_ASSOCIATION && error != ERROR_BAD_EXE_FORMAT) {
    to.systemError(error, result);
    return;
  }
  to.start();
  to.paragraph(IDS_NO_PROGRAM_FOR_RESULT, {result}, false);
  to.show(MB_ICONWARNING);
}
