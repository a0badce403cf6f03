// Reads the running wizard from outside, the way another process sees it.
//   e2e_probe window          wait for the wizard; print its client area and close box on
//                             screen, and its handle in decimal
//   e2e_probe licence-widths  print the licence rows and the widest row in the list's font
//   e2e_probe close           ask the wizard to close, as its close box does
//   e2e_probe gone            wait until the wizard's window has gone
//   e2e_probe licence-shown   print whether the licence list is visible (1) or not (0)
//   e2e_probe question        the wizard's open message box: print its text, then the
//                             screen position of its "No" button
//   e2e_probe report CODE TEXT  send the wizard an installer report, as any process could
//   e2e_probe count           print how many wizard windows are shown
//   e2e_probe paint           have the wizard paint its whole window; returns once it has
//   e2e_probe accessible      print what a screen reader reads: "focus NAME", then one line
//                             per child: "ROLE NAME", "=VALUE" for a value, " (grey)" when
//                             unavailable
//   e2e_probe press NAME      a screen reader's default action on the child named NAME:
//                             prints "pressed" or "refused"
//   e2e_probe locate NAME     where a screen reader finds the child named NAME: its left,
//                             top, width and height in the client area
//   e2e_probe questions       print how many message boxes the wizard has open
//   e2e_probe prompt          the dialog box the wizard has open (the system's proxy
//                             password prompt): print "title TITLE", then the screen
//                             positions of its edit fields ("edit X Y", in order), of
//                             "ok X Y" and of "cancel X Y"
// Exit code 0 on success, 1 when the window does not appear or stay as expected.
#include <windows.h>
#include <oleacc.h>

#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <string>

namespace {

constexpr wchar_t Caption[] = L"Vestora Installer";
constexpr wchar_t FormClass[] = L"TVestoraForm";

HWND WaitForWizard(int Seconds) {
  for (int i = 0; i < Seconds * 10; ++i) {
    HWND Window = ::FindWindowW(FormClass, Caption);
    if (Window != nullptr && ::IsWindowVisible(Window)) return Window;
    ::Sleep(100);
  }
  return nullptr;
}

// The middle of the caption's close box on screen, found by asking the window itself.
POINT CloseBox(HWND Window) {
  RECT Frame{};
  ::GetWindowRect(Window, &Frame);
  const int Y = Frame.top + ::GetSystemMetrics(SM_CYFIXEDFRAME) + ::GetSystemMetrics(SM_CYSIZE) / 2;
  int Right = -1;
  for (int X = Frame.right - 1; X > Frame.left; --X) {
    const LRESULT Hit = ::SendMessageW(Window, WM_NCHITTEST, 0, MAKELPARAM(X, Y));
    if (Hit == HTCLOSE && Right < 0) Right = X;
    if (Hit != HTCLOSE && Right >= 0) return {(X + 1 + Right) / 2, Y};
  }
  return {-1, -1};
}

int PrintClientArea(HWND Window) {
  RECT Client{};
  ::GetClientRect(Window, &Client);
  POINT Origin{0, 0};
  ::ClientToScreen(Window, &Origin);
  const POINT Close = CloseBox(Window);
  std::printf("client %ld %ld %ld %ld %ld %ld %llu\n", Origin.x, Origin.y, Client.right, Client.bottom, Close.x, Close.y,
              static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(Window)));
  return 0;
}

int PrintLicenceWidths(HWND Window) {
  HWND List = ::FindWindowExW(Window, nullptr, L"ListBox", nullptr);
  if (List == nullptr) return 1;
  // The list's own font: Corbel, 11 pixels without internal leading.
  HFONT Font = ::CreateFontW(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Corbel");
  HDC Dc = ::CreateCompatibleDC(nullptr);
  HGDIOBJ Old = ::SelectObject(Dc, Font);
  const LRESULT Count = ::SendMessageW(List, LB_GETCOUNT, 0, 0);
  long Widest = 0;
  for (LRESULT i = 0; i < Count; ++i) {
    std::wstring Text(static_cast<std::size_t>(::SendMessageW(List, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0)) + 1, L'\0');
    const LRESULT Length = ::SendMessageW(List, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(Text.data()));
    SIZE Extent{};
    if (Length > 0) ::GetTextExtentPoint32W(Dc, Text.c_str(), static_cast<int>(Length), &Extent);
    if (Extent.cx > Widest) Widest = Extent.cx;
  }
  ::SelectObject(Dc, Old);
  ::DeleteDC(Dc);
  ::DeleteObject(Font);
  std::printf("rows %ld widest %ld\n", static_cast<long>(Count), Widest);
  return 0;
}

// The dialog box (a message box, the proxy's prompt) that the wizard has open, if any.
// The caller waits for it as a page state: the wizard takes no input while it is open.
HWND OpenDialog(HWND Wizard) {
  for (HWND Box = nullptr; (Box = ::FindWindowExW(nullptr, Box, L"#32770", nullptr)) != nullptr;) {
    if (::GetWindow(Box, GW_OWNER) == Wizard) return Box;
  }
  return nullptr;
}

void PrintCentre(const char* Name, HWND Control) {
  RECT Box{};
  if (Control != nullptr && ::GetWindowRect(Control, &Box)) {
    std::printf("%s %ld %ld\n", Name, (Box.left + Box.right) / 2, (Box.top + Box.bottom) / 2);
  }
}

int PrintQuestion(HWND Wizard) {
  HWND Box = OpenDialog(Wizard);
  if (Box == nullptr || ::GetDlgItem(Box, IDNO) == nullptr) return 1;
  wchar_t Text[1024] = {};
  for (HWND Static = ::FindWindowExW(Box, nullptr, L"Static", nullptr); Static != nullptr && Text[0] == 0;
       Static = ::FindWindowExW(Box, Static, L"Static", nullptr)) {
    ::GetWindowTextW(Static, Text, 1024);
  }
  std::printf("text ");
  for (const wchar_t* C = Text; *C != 0; ++C) {
    if (*C == L'\r') {
      std::printf("\\r");
    } else {
      std::printf("%lc", static_cast<wint_t>(*C));
    }
  }
  std::printf("\n");
  PrintCentre("no", ::GetDlgItem(Box, IDNO));
  return 0;
}

int PrintPrompt(HWND Wizard) {
  HWND Box = OpenDialog(Wizard);
  if (Box == nullptr) return 1;
  wchar_t Title[256] = {};
  ::GetWindowTextW(Box, Title, 256);
  std::printf("title %ls\n", Title);
  for (HWND Edit = nullptr; (Edit = ::FindWindowExW(Box, Edit, L"Edit", nullptr)) != nullptr;) {
    if (::IsWindowVisible(Edit)) PrintCentre("edit", Edit);
  }
  PrintCentre("ok", ::GetDlgItem(Box, IDOK));
  PrintCentre("cancel", ::GetDlgItem(Box, IDCANCEL));
  return 0;
}

std::string Narrow(const wchar_t* Text) {
  std::string Out;
  for (const wchar_t* C = Text; C != nullptr && *C != 0; ++C) Out.push_back(*C < 0x80 ? static_cast<char>(*C) : '?');
  return Out;
}

// One property of a child as text; the BSTR is freed here.
template <typename F>
std::string Property(F&& Read) {
  BSTR Value = nullptr;
  const std::string Text = SUCCEEDED(Read(&Value)) ? Narrow(Value) : std::string();
  ::SysFreeString(Value);
  return Text;
}

// The wizard's client area as a screen reader asks for it; nullptr when it cannot.
IAccessible* ClientOf(HWND Window) {
  ::CoInitialize(nullptr);
  IAccessible* Client = nullptr;
  const HRESULT Result =
      ::AccessibleObjectFromWindow(Window, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&Client));
  return SUCCEEDED(Result) ? Client : nullptr;
}

int PrintAccessible(HWND Window) {
  IAccessible* Client = ClientOf(Window);
  if (Client == nullptr) return 1;
  long Count = 0;
  (void)Client->get_accChildCount(&Count);
  VARIANT Focus{};
  (void)Client->get_accFocus(&Focus);
  std::string Lines;
  std::string Focused = "none";
  for (long Id = 1; Id <= Count; ++Id) {
    VARIANT Child{};
    Child.vt = VT_I4;
    Child.lVal = Id;
    VARIANT Role{};
    VARIANT State{};
    (void)Client->get_accRole(Child, &Role);
    (void)Client->get_accState(Child, &State);
    const char* Kind = Role.lVal == ROLE_SYSTEM_PUSHBUTTON  ? "button"
                       : Role.lVal == ROLE_SYSTEM_LINK        ? "link"
                       : Role.lVal == ROLE_SYSTEM_PROGRESSBAR ? "progress"
                       : Role.lVal == ROLE_SYSTEM_LIST        ? "list"
                                                              : "text";
    const std::string Name = Property([&](BSTR* Out) { return Client->get_accName(Child, Out); });
    const std::string Value = Property([&](BSTR* Out) { return Client->get_accValue(Child, Out); });
    Lines += std::string(Kind) + " " + Name + (Value.empty() ? "" : "=" + Value) +
             ((State.lVal & STATE_SYSTEM_UNAVAILABLE) != 0 ? " (grey)" : "") + "\n";
    if (Focus.vt == VT_I4 && Focus.lVal == Id) Focused = Name;
  }
  Client->Release();
  std::printf("focus %s\n%s", Focused.c_str(), Lines.c_str());
  return 0;
}

// Acts on the child named Name as a screen reader would ("press"), or prints where it
// says the child is, relative to the client area ("locate"); 1 when there is none.
int OnChildNamed(HWND Window, const std::string& Name, bool Locate) {
  IAccessible* Client = ClientOf(Window);
  if (Client == nullptr) return 1;
  long Count = 0;
  (void)Client->get_accChildCount(&Count);
  int Found = 1;
  for (long Id = 1; Id <= Count && Found != 0; ++Id) {
    VARIANT Child{};
    Child.vt = VT_I4;
    Child.lVal = Id;
    if (Property([&](BSTR* Out) { return Client->get_accName(Child, Out); }) != Name) continue;
    Found = 0;
    if (!Locate) {
      std::printf("%s\n", Client->accDoDefaultAction(Child) == S_OK ? "pressed" : "refused");
      continue;
    }
    long Left = 0, Top = 0, Width = 0, Height = 0;
    POINT Origin{0, 0};
    ::ClientToScreen(Window, &Origin);
    if (FAILED(Client->accLocation(&Left, &Top, &Width, &Height, Child))) Found = 1;
    std::printf("%ld %ld %ld %ld\n", Left - Origin.x, Top - Origin.y, Width, Height);
  }
  Client->Release();
  return Found;
}

bool WaitGone(HWND Window, int Seconds) {
  for (int i = 0; i < Seconds * 10; ++i) {
    if (!::IsWindow(Window)) return true;
    ::Sleep(100);
  }
  return false;
}

}  // namespace

int wmain(int Argc, wchar_t** Argv) {
  const std::wstring Command = Argc > 1 ? Argv[1] : L"";
  HWND Window = Command == L"gone" ? ::FindWindowW(FormClass, Caption) : WaitForWizard(30);
  if (Command == L"gone") return Window == nullptr || WaitGone(Window, 15) ? 0 : 1;
  if (Window == nullptr) {
    std::fprintf(stderr, "the wizard's window did not appear\n");
    return 1;
  }
  if (Command == L"window") return PrintClientArea(Window);
  if (Command == L"licence-widths") return PrintLicenceWidths(Window);
  if (Command == L"close") return ::PostMessageW(Window, WM_SYSCOMMAND, SC_CLOSE, 0) ? 0 : 1;
  if (Command == L"licence-shown") {
    HWND List = ::FindWindowExW(Window, nullptr, L"ListBox", nullptr);
    std::printf("%d\n", List != nullptr && ::IsWindowVisible(List) ? 1 : 0);
    return 0;
  }
  if (Command == L"question") return PrintQuestion(Window);
  if (Command == L"prompt") return PrintPrompt(Window);
  if (Command == L"accessible") return PrintAccessible(Window);
  if ((Command == L"press" || Command == L"locate") && Argc > 2) {
    return OnChildNamed(Window, Narrow(Argv[2]), Command == L"locate");
  }
  if (Command == L"questions") {
    int Count = 0;
    for (HWND Box = nullptr; (Box = ::FindWindowExW(nullptr, Box, L"#32770", nullptr)) != nullptr;) {
      Count += ::GetWindow(Box, GW_OWNER) == Window ? 1 : 0;
    }
    std::printf("%d\n", Count);
    return 0;
  }
  // The update is sent to the wizard's thread and waited for.
  if (Command == L"paint") {
    return ::RedrawWindow(Window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN) ? 0 : 1;
  }
  if (Command == L"count") {
    int Count = 0;
    for (HWND Other = nullptr; (Other = ::FindWindowExW(nullptr, Other, FormClass, nullptr)) != nullptr;) {
      Count += ::IsWindowVisible(Other) ? 1 : 0;
    }
    std::printf("%d\n", Count);
    return 0;
  }
  if (Command == L"report" && Argc > 3) {
    std::string Text;
    for (const wchar_t* C = Argv[3]; *C != 0; ++C) Text.push_back(static_cast<char>(*C));
    COPYDATASTRUCT Record{};
    Record.dwData = static_cast<ULONG_PTR>(static_cast<LONG_PTR>(std::wcstol(Argv[2], nullptr, 10)));
    Record.cbData = static_cast<DWORD>(Text.size());
    Record.lpData = Text.data();
    ::SendMessageW(Window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&Record));
    return 0;
  }
  std::fprintf(stderr, "usage: e2e_probe window|licence-widths|close|gone|licence-shown|question|report|accessible|"
                       "press|locate|questions|count|paint\n");
  return 2;
}
