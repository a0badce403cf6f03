// Helpers for tests that drive real windows on the test thread.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace wintest {

// The folder of the test program, with its trailing backslash: the fixtures lie beside it.
inline std::wstring OwnFolder() {
  wchar_t Path[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, Path, MAX_PATH);
  const std::wstring Folder(Path);
  return Folder.substr(0, Folder.find_last_of(L'\\') + 1);
}

// Dispatches everything queued for this thread.
inline void Pump() {
  MSG Message{};
  while (::PeekMessageW(&Message, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&Message);
    ::DispatchMessageW(&Message);
  }
}

// The client area's pixels as the window paints them, row by row.
inline std::vector<std::uint32_t> ClientPixels(HWND Window, int Width, int Height) {
  ::InvalidateRect(Window, nullptr, FALSE);
  ::UpdateWindow(Window);
  BITMAPINFO Info{};
  Info.bmiHeader = {sizeof(BITMAPINFOHEADER), Width, -Height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* Bits = nullptr;
  HDC Shown = ::GetDC(Window);
  HDC Copy = ::CreateCompatibleDC(Shown);
  HBITMAP Bitmap = ::CreateDIBSection(Copy, &Info, DIB_RGB_COLORS, &Bits, nullptr, 0);
  HGDIOBJ Old = ::SelectObject(Copy, Bitmap);
  ::BitBlt(Copy, 0, 0, Width, Height, Shown, 0, 0, SRCCOPY);
  ::GdiFlush();
  const auto* First = static_cast<const std::uint32_t*>(Bits);
  std::vector<std::uint32_t> Pixels(First, First + static_cast<std::size_t>(Width) * Height);
  ::SelectObject(Copy, Old);
  ::DeleteObject(Bitmap);
  ::DeleteDC(Copy);
  ::ReleaseDC(Window, Shown);
  return Pixels;
}

inline void Click(HWND Window, int X, int Y, UINT Down = WM_LBUTTONDOWN, UINT Up = WM_LBUTTONUP) {
  ::SendMessageW(Window, Down, Down == WM_LBUTTONDOWN ? MK_LBUTTON : 0, MAKELPARAM(X, Y));
  ::SendMessageW(Window, Up, 0, MAKELPARAM(X, Y));
}

// Saves pixels as ClientPixels gives them as NAME.ppm in the folder VESTORA_TEST_ARTIFACTS
// names (Wine's drive Z for a path from the root), for the test command to convert.
inline void SavePicture(const char* Name, const std::vector<std::uint32_t>& Pixels, int Width, int Height) {
  const char* Folder = std::getenv("VESTORA_TEST_ARTIFACTS");
  if (Folder == nullptr || *Folder == '\0') return;
  std::ofstream Out(std::string(Folder[0] == '/' ? "Z:" : "") + Folder + "/" + Name + ".ppm", std::ios::binary);
  Out << "P6\n" << Width << " " << Height << "\n255\n";
  for (const std::uint32_t Pixel : Pixels) {
    Out << static_cast<char>(Pixel >> 16) << static_cast<char>(Pixel >> 8) << static_cast<char>(Pixel);
  }
}

// Answers the first message box of this process with Button and records its text.
class TMessageBoxAnswerer {
public:
  explicit TMessageBoxAnswerer(int Button = IDOK)
      : FButton(Button), FThread(::CreateThread(nullptr, 0, &TMessageBoxAnswerer::Run, this, 0, nullptr)) {}
  ~TMessageBoxAnswerer() {
    FStop = true;
    ::WaitForSingleObject(FThread, INFINITE);
    ::CloseHandle(FThread);
  }
  TMessageBoxAnswerer(const TMessageBoxAnswerer&) = delete;
  TMessageBoxAnswerer& operator=(const TMessageBoxAnswerer&) = delete;

  [[nodiscard]] bool Seen() const { return FSeen; }
  [[nodiscard]] std::wstring Text() const { return FSeen ? FText : std::wstring(); }

private:
  static DWORD WINAPI Run(void* Self) {
    static_cast<TMessageBoxAnswerer*>(Self)->Answer();
    return 0;
  }
  void Answer() {
    for (int Tries = 0; Tries < 500 && !FStop; ++Tries) {
      HWND Box = ::FindWindowW(L"#32770", nullptr);
      DWORD Pid = 0;
      if (Box != nullptr) ::GetWindowThreadProcessId(Box, &Pid);
      if (Box != nullptr && Pid == ::GetCurrentProcessId()) {
        wchar_t Text[512] = {};
        HWND Static = ::FindWindowExW(Box, nullptr, L"Static", nullptr);
        while (Static != nullptr && ::GetWindowTextW(Static, Text, 512) == 0) {
          Static = ::FindWindowExW(Box, Static, L"Static", nullptr);
        }
        // A box still being built has no text yet: look again.
        // Seen before it is answered: the box's owner returns from it only after the answer.
        if (Text[0] != L'\0') {
          FText = Text;
          FSeen = true;
          ::PostMessageW(Box, WM_COMMAND, static_cast<WPARAM>(FButton), 0);
          return;
        }
      }
      ::Sleep(20);
    }
  }

  int FButton;
  std::atomic<bool> FStop{false};
  std::atomic<bool> FSeen{false};
  std::wstring FText;
  HANDLE FThread;
};

}  // namespace wintest
