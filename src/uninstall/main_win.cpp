// kvuninst: removes the tray program's registry settings. Window-less, reads no
// command line, always exits with 0.
#include <windows.h>

#include "uninstall/uninstall_win.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  kv::RunUninstall();
  return 0;
}
