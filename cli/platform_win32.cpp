// SPDX-License-Identifier: MIT
// The command line's system calls on Windows.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include "cli/platform.h"

namespace {

void (*g_onInterrupt)() = nullptr;

BOOL WINAPI OnConsoleEvent(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
      if (g_onInterrupt) g_onInterrupt();
      return TRUE;
    case CTRL_CLOSE_EVENT:
      // The process ends when this returns: the conversion gets a moment to remove its files.
      if (g_onInterrupt) g_onInterrupt();
      Sleep(3000);
      return TRUE;
    default:
      return FALSE;
  }
}

std::string Utf8(const wchar_t* text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return std::string();
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
  out.resize(static_cast<size_t>(size - 1));
  return out;
}

}  // namespace

void PrepareStandardStreams() {
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
  SetConsoleOutputCP(CP_UTF8);
}

std::vector<std::string> ProgramArguments(int argc, char** argv) {
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!wide) return std::vector<std::string>(argv, argv + argc);
  std::vector<std::string> arguments;
  for (int i = 0; i < count; ++i) arguments.push_back(Utf8(wide[i]));
  LocalFree(wide);
  return arguments;
}

void CatchInterrupts(void (*onInterrupt)()) {
  g_onInterrupt = onInterrupt;
  SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

bool IsTerminal(FILE* stream) {
  DWORD mode = 0;
  const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
  return handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) != 0;
}

int DescriptorOf(FILE* stream) {
  return _fileno(stream);
}
