// Measures the wizard from outside, for tools/bench. Times are in microseconds.
//   bench_probe start EXE CLASS      start EXE, wait until a visible window of CLASS appears;
//                                    print "startup US peak_kb KB" (peak working set a second later)
//   bench_probe ping CLASS N         N round trips of WM_NULL to the window of CLASS, 10 ms apart;
//                                    print one time per line
//   bench_probe fetch URL BLOCK      fetch URL with WinInet in reads of BLOCK bytes; print "bytes B us US"
//   bench_probe launch CLASS FILE BYTES RECORD
//                                    round trips of WM_NULL to the window of CLASS, one after the other,
//                                    from the moment FILE has BYTES (the download's last byte) until
//                                    RECORD exists (the installer has started); print "longest US pings N"
#include <windows.h>
#include <psapi.h>
#include <wininet.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

LONGLONG Now() {
  LARGE_INTEGER Counter{};
  LARGE_INTEGER Frequency{};
  ::QueryPerformanceCounter(&Counter);
  ::QueryPerformanceFrequency(&Frequency);
  return Counter.QuadPart * 1000000 / Frequency.QuadPart;
}

struct TSearch {
  DWORD Process;
  const wchar_t* Class;
  HWND Found;
};

BOOL CALLBACK Visit(HWND Window, LPARAM Param) {
  auto& Search = *reinterpret_cast<TSearch*>(Param);
  DWORD Owner = 0;
  ::GetWindowThreadProcessId(Window, &Owner);
  wchar_t Class[64] = {};
  ::GetClassNameW(Window, Class, 64);
  if (Owner == Search.Process && ::IsWindowVisible(Window) && std::wstring(Class) == Search.Class) {
    Search.Found = Window;
    return FALSE;
  }
  return TRUE;
}

int Start(const wchar_t* Exe, const wchar_t* Class) {
  std::wstring CommandLine = std::wstring(L"\"") + Exe + L"\"";
  STARTUPINFOW Startup{};
  Startup.cb = sizeof(Startup);
  PROCESS_INFORMATION Started{};
  const LONGLONG Begin = Now();
  if (!::CreateProcessW(Exe, CommandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &Startup, &Started)) {
    return 1;
  }
  TSearch Search{Started.dwProcessId, Class, nullptr};
  while (Search.Found == nullptr && Now() - Begin < 30000000) {
    ::EnumWindows(&Visit, reinterpret_cast<LPARAM>(&Search));
    if (Search.Found == nullptr) ::Sleep(1);
  }
  const LONGLONG Shown = Now() - Begin;
  ::Sleep(1000);
  PROCESS_MEMORY_COUNTERS Memory{};
  Memory.cb = sizeof(Memory);
  ::GetProcessMemoryInfo(Started.hProcess, &Memory, sizeof(Memory));
  ::TerminateProcess(Started.hProcess, 0);
  ::WaitForSingleObject(Started.hProcess, 5000);
  ::CloseHandle(Started.hThread);
  ::CloseHandle(Started.hProcess);
  if (Search.Found == nullptr) return 1;
  std::printf("startup %lld peak_kb %lu\n", Shown, static_cast<unsigned long>(Memory.PeakWorkingSetSize / 1024));
  return 0;
}

int Ping(const wchar_t* Class, int Count) {
  HWND Window = ::FindWindowW(Class, nullptr);
  if (Window == nullptr) return 1;
  for (int i = 0; i < Count; ++i) {
    DWORD_PTR Result = 0;
    const LONGLONG Begin = Now();
    if (!::SendMessageTimeoutW(Window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &Result)) return 1;
    std::printf("%lld\n", Now() - Begin);
    ::Sleep(10);
  }
  return 0;
}

unsigned long long FileBytes(const wchar_t* Path) {
  WIN32_FILE_ATTRIBUTE_DATA Data{};
  if (!::GetFileAttributesExW(Path, GetFileExInfoStandard, &Data)) return 0;
  return (static_cast<unsigned long long>(Data.nFileSizeHigh) << 32) | Data.nFileSizeLow;
}

int Launch(const wchar_t* Class, const wchar_t* File, unsigned long long Bytes, const wchar_t* Record) {
  HWND Window = ::FindWindowW(Class, nullptr);
  if (Window == nullptr) return 1;
  const LONGLONG Begin = Now();
  while (FileBytes(File) < Bytes) {
    if (Now() - Begin > 600000000) return 1;
    ::Sleep(1);
  }
  LONGLONG Longest = 0;
  int Pings = 0;
  while (::GetFileAttributesW(Record) == INVALID_FILE_ATTRIBUTES) {
    if (Now() - Begin > 600000000) return 1;
    DWORD_PTR Result = 0;
    const LONGLONG Sent = Now();
    if (!::SendMessageTimeoutW(Window, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &Result)) return 1;
    Longest = std::max(Longest, Now() - Sent);
    ++Pings;
  }
  std::printf("longest %lld pings %d\n", Longest, Pings);
  return 0;
}

int Fetch(const wchar_t* Url, DWORD Block) {
  HINTERNET Root = ::InternetOpenW(L"", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
  if (Root == nullptr) return 1;
  const LONGLONG Begin = Now();
  HINTERNET Request = ::InternetOpenUrlW(Root, Url, nullptr, 0, INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0);
  if (Request == nullptr) return 1;
  std::vector<char> Buffer(Block);
  unsigned long long Bytes = 0;
  DWORD Read = 0;
  while (::InternetReadFile(Request, Buffer.data(), Block, &Read) && Read > 0) Bytes += Read;
  const LONGLONG Took = Now() - Begin;
  ::InternetCloseHandle(Request);
  ::InternetCloseHandle(Root);
  std::printf("bytes %llu us %lld\n", Bytes, Took);
  return 0;
}

}  // namespace

int wmain(int Argc, wchar_t** Argv) {
  const std::wstring Command = Argc > 1 ? Argv[1] : L"";
  if (Command == L"start" && Argc > 3) return Start(Argv[2], Argv[3]);
  if (Command == L"ping" && Argc > 3) return Ping(Argv[2], _wtoi(Argv[3]));
  if (Command == L"fetch" && Argc > 3) return Fetch(Argv[2], static_cast<DWORD>(_wtoi(Argv[3])));
  if (Command == L"launch" && Argc > 5) return Launch(Argv[2], Argv[3], _wcstoui64(Argv[4], nullptr, 10), Argv[5]);
  std::fprintf(stderr, "usage: bench_probe start EXE CLASS | ping CLASS N | fetch URL BLOCK | launch CLASS FILE BYTES RECORD\n");
  return 2;
}
