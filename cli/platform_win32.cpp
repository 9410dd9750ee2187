// SPDX-License-Identifier: MIT
// The command line's system calls on Windows.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

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

// The length of the longest start of text[0, n) that ends with a whole UTF-8 sequence.
size_t WholeSequences(const char* text, size_t n) {
  size_t start = n;
  for (size_t back = 0; back < 4 && start > 0; ++back) {
    const auto byte = static_cast<unsigned char>(text[--start]);
    if ((byte & 0xC0) != 0x80) {
      const size_t length = byte < 0x80    ? 1
                            : byte >= 0xF0 ? 4
                            : byte >= 0xE0 ? 3
                            : byte >= 0xC0 ? 2
                                           : 1;
      return start + length <= n ? n : start;
    }
  }
  return n;
}

// What the program writes to console streams as UTF-8 reaches the console as UTF-16 through
// WriteConsoleW: the streams' descriptors become one pipe (so that their lines keep their order),
// whose other end a thread reads.
class ConsoleRelay {
 public:
  bool Start(const std::vector<FILE*>& streams) {
    if (streams.empty()) return false;
    int ends[2];
    if (_pipe(ends, 4096, _O_BINARY) != 0) return false;
    // The console itself, kept past the _dup2 below.
    m_console = reinterpret_cast<HANDLE>(_get_osfhandle(_dup(_fileno(streams.front()))));
    for (FILE* stream : streams) {
      std::fflush(stream);
      std::setvbuf(stream, nullptr, _IONBF, 0);  // unbuffered, as on a console
      _dup2(ends[1], _fileno(stream));
      m_streams.push_back(stream);
    }
    _close(ends[1]);
    m_reader = std::thread([this, in = ends[0]] { Relay(in); });
    return true;
  }

  bool Relays(FILE* stream) const {
    return std::find(m_streams.begin(), m_streams.end(), stream) != m_streams.end();
  }

  // Ends the relay once everything written has reached the console.
  void Finish() {
    if (!m_reader.joinable()) return;
    std::fflush(nullptr);
    // The pipe's last writers: the reader then sees its end.
    for (FILE* stream : m_streams) _close(_fileno(stream));
    m_reader.join();
  }

 private:
  void Relay(int in) {
    char buffer[4096];
    size_t kept = 0;
    for (;;) {
      const int n = _read(in, buffer + kept, static_cast<unsigned>(sizeof buffer - kept));
      if (n <= 0) break;
      size_t have = kept + static_cast<size_t>(n);
      have += Gather(in, buffer + have, sizeof buffer - have);
      const size_t whole = WholeSequences(buffer, have);
      Show(buffer, whole);
      kept = have - whole;
      std::memmove(buffer, buffer + whole, kept);
    }
    Show(buffer, kept);
    _close(in);
  }

  // Unbuffered streams write a message in pieces: what follows within a moment is shown with it.
  static size_t Gather(int in, char* data, size_t room) {
    Sleep(2);
    const auto pipe = reinterpret_cast<HANDLE>(_get_osfhandle(in));
    DWORD available = 0;
    if (room == 0 || !PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr) ||
        available == 0) {
      return 0;
    }
    const int n = _read(in, data, static_cast<unsigned>(std::min<size_t>(available, room)));
    return n > 0 ? static_cast<size_t>(n) : 0;
  }

  void Show(const char* text, size_t n) {
    if (n == 0) return;
    const int units = MultiByteToWideChar(CP_UTF8, 0, text, static_cast<int>(n), nullptr, 0);
    std::wstring wide(static_cast<size_t>(units), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text, static_cast<int>(n), wide.data(), units);
    DWORD written = 0;
    WriteConsoleW(m_console, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
  }

  HANDLE m_console = INVALID_HANDLE_VALUE;
  std::vector<FILE*> m_streams;
  std::thread m_reader;
};

ConsoleRelay g_relay;

void FinishRelay() {
  g_relay.Finish();
}

}  // namespace

void PrepareStandardStreams() {
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
  // A console shows Unicode text through WriteConsoleW; a pipe or a file gets UTF-8 as it is.
  std::vector<FILE*> consoles;
  for (FILE* stream : {stdout, stderr}) {
    if (IsTerminal(stream)) consoles.push_back(stream);
  }
  if (g_relay.Start(consoles)) std::atexit(FinishRelay);
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
  if (g_relay.Relays(stream)) return true;  // a console behind the relay's pipe
  DWORD mode = 0;
  const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
  return handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) != 0;
}

int DescriptorOf(FILE* stream) {
  return _fileno(stream);
}
