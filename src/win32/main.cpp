// bosquell.exe: the Bosquell window, made of the platform's own controls.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include "win32/form1.h"
#include "win32/wide_text.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  // COM carries the controls' names to screen readers.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  bosquell::win32::Form1 form(instance);
  form.DrawPreviewsOnAThread();
  ShowWindow(form.Window().Handle(), show);
  UpdateWindow(form.Window().Handle());

  // A mission named on the command line (Open With, or a file dropped on the program's icon)
  // is opened as if chosen in the lists.
  int count = 0;
  if (wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count)) {
    if (count > 1) form.Logic().OpenNamedFile(bosquell::win32::Utf8(arguments[1]));
    LocalFree(arguments);
  }

  const int status = bosquell::win32::RunMessageLoop(form.Window());
  if (SUCCEEDED(com)) CoUninitialize();
  return status;
}
