// lumeno_driver: drives a running lumeno.exe from outside, the way a user or
// another program could, for the end-to-end scenarios in tests/e2e. It never
// reaches into Lumeno's memory: windows, messages, screen pixels, the registry
// and processes only. Results are printed as simple "key=value" lines; the exit
// code is 0 on success, 1 when something was not found or timed out, 2 on
// bad usage.
#include <windows.h>
#include <commctrl.h>
#include <oleacc.h>
#include <psapi.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

namespace {

// ---------------------------------------------------------------- output ----

// Written as raw UTF-8 with plain "\n": the shell side parses it.
void Out(const std::string& s) {
  std::string line = s + "\n";
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), line.data(), static_cast<DWORD>(line.size()), &written,
            nullptr);
}

void Err(const std::string& s) {
  std::string line = "error: " + s + "\n";
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_ERROR_HANDLE), line.data(), static_cast<DWORD>(line.size()), &written,
            nullptr);
}

std::string Utf8(const std::wstring& w) {
  if (w.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr,
                              nullptr);
  std::string s(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr,
                      nullptr);
  return s;
}

// One-line form of a text: line breaks and tabs escaped, so each control is one line.
std::string Escaped(const std::wstring& w) {
  std::string s = Utf8(w), r;
  for (char c : s) {
    if (c == '\r') continue;
    if (c == '\n') {
      r += "\\n";
    } else if (c == '\t') {
      r += "\\t";
    } else if (c == '"') {
      r += "\\\"";
    } else {
      r += c;
    }
  }
  return r;
}

std::string Hex(uintptr_t v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "0x%llx", static_cast<unsigned long long>(v));
  return buf;
}

std::string Num(long long v) { return std::to_string(v); }

std::string RectText(const RECT& r) {
  // left,top,width,height: the form the scenarios compare with the design.
  return Num(r.left) + "," + Num(r.top) + "," + Num(r.right - r.left) + "," + Num(r.bottom - r.top);
}

// ----------------------------------------------------------------- clock ----

double NowMs() {
  static LARGE_INTEGER freq{}, start{};
  LARGE_INTEGER now;
  if (freq.QuadPart == 0) {
    QueryPerformanceFrequency(&freq);
    QueryPerformanceCounter(&start);
  }
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart - start.QuadPart) * 1000.0 /
         static_cast<double>(freq.QuadPart);
}

// --------------------------------------------------------------- options ----

struct TArgs {
  std::vector<std::wstring> positional;
  std::wstring cls;       // --class
  DWORD pid = 0;          // --pid
  int waitMs = 5000;      // --wait
  bool real = false;      // --real: synthesised mouse input instead of posted messages
  bool all = false;       // --all: hidden windows too
  std::wstring key = L"Software\\Quorvale\\Lumeno";  // --key
  std::wstring items;     // --items: menu layout when the menu cannot be read
};

bool ParseArgs(int argc, wchar_t** argv, TArgs& a) {
  for (int i = 2; i < argc; ++i) {
    std::wstring s = argv[i];
    auto next = [&](std::wstring& dst) {
      if (i + 1 >= argc) return false;
      dst = argv[++i];
      return true;
    };
    std::wstring v;
    if (s == L"--class") {
      if (!next(a.cls)) return false;
    } else if (s == L"--pid") {
      if (!next(v)) return false;
      a.pid = static_cast<DWORD>(wcstoul(v.c_str(), nullptr, 0));
    } else if (s == L"--wait") {
      if (!next(v)) return false;
      a.waitMs = static_cast<int>(wcstol(v.c_str(), nullptr, 0));
    } else if (s == L"--key") {
      if (!next(a.key)) return false;
    } else if (s == L"--items") {
      if (!next(a.items)) return false;
    } else if (s == L"--real") {
      a.real = true;
    } else if (s == L"--all") {
      a.all = true;
    } else {
      a.positional.push_back(s);
    }
  }
  return true;
}

// --------------------------------------------------------------- windows ----

std::wstring WindowText(HWND hwnd) {
  // WM_GETTEXT is marshalled across processes; a timeout keeps a hung target
  // from hanging the scenario.
  DWORD_PTR len = 0;
  if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &len)) return {};
  std::wstring buf(static_cast<size_t>(len) + 2, L'\0');
  DWORD_PTR got = 0;
  if (!SendMessageTimeoutW(hwnd, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data()),
                           SMTO_ABORTIFHUNG, 2000, &got))
    return {};
  buf.resize(std::min<size_t>(static_cast<size_t>(got), buf.size()));
  return buf;
}

std::wstring ClassOf(HWND hwnd) {
  wchar_t buf[256] = {};
  GetClassNameW(hwnd, buf, 256);
  return buf;
}

bool IEquals(const std::wstring& a, const std::wstring& b) { return _wcsicmp(a.c_str(), b.c_str()) == 0; }

bool IContains(std::wstring hay, std::wstring needle) {
  for (auto& c : hay) c = towlower(c);
  for (auto& c : needle) c = towlower(c);
  return hay.find(needle) != std::wstring::npos;
}

struct TFindTop {
  std::wstring caption;
  const TArgs* args;
  std::vector<HWND> found;
};

BOOL CALLBACK FindTopProc(HWND hwnd, LPARAM lp) {
  auto* f = reinterpret_cast<TFindTop*>(lp);
  if (!f->args->all && !IsWindowVisible(hwnd)) return TRUE;
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (f->args->pid && pid != f->args->pid) return TRUE;
  if (!f->args->cls.empty() && !IEquals(ClassOf(hwnd), f->args->cls)) return TRUE;
  wchar_t buf[512] = {};
  // Top-level captions are read locally (no message), so a busy target cannot stall the search.
  InternalGetWindowText(hwnd, buf, 512);
  if (f->caption == L"*" || f->caption == buf) f->found.push_back(hwnd);
  return TRUE;
}

std::vector<HWND> FindTopNow(const std::wstring& caption, const TArgs& a) {
  TFindTop f{caption, &a, {}};
  EnumWindows(FindTopProc, reinterpret_cast<LPARAM>(&f));
  return f.found;
}

// A window argument is a handle ("0x...") or an exact caption; captions are
// waited for up to --wait ms.
HWND ResolveWindow(const std::wstring& spec, const TArgs& a) {
  if (spec.size() > 2 && spec[0] == L'0' && (spec[1] == L'x' || spec[1] == L'X')) {
    HWND h = reinterpret_cast<HWND>(static_cast<uintptr_t>(wcstoull(spec.c_str(), nullptr, 16)));
    return IsWindow(h) ? h : nullptr;
  }
  double until = NowMs() + a.waitMs;
  for (;;) {
    auto v = FindTopNow(spec, a);
    if (!v.empty()) return v.front();
    if (NowMs() >= until) return nullptr;
    Sleep(20);
  }
}

std::string WindowLine(HWND hwnd) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  RECT r{}, c{};
  GetWindowRect(hwnd, &r);
  GetClientRect(hwnd, &c);
  POINT o{0, 0};
  ClientToScreen(hwnd, &o);
  OffsetRect(&c, o.x, o.y);
  LONG style = GetWindowLongW(hwnd, GWL_STYLE);
  LONG ex = GetWindowLongW(hwnd, GWL_EXSTYLE);
  wchar_t cap[512] = {};
  InternalGetWindowText(hwnd, cap, 512);
  return "window hwnd=" + Hex(reinterpret_cast<uintptr_t>(hwnd)) + " pid=" + Num(pid) +
         " class=\"" + Escaped(ClassOf(hwnd)) + "\" rect=" + RectText(r) + " client=" + RectText(c) +
         " style=" + Hex(static_cast<DWORD>(style)) + " exstyle=" + Hex(static_cast<DWORD>(ex)) +
         " visible=" + Num(IsWindowVisible(hwnd) ? 1 : 0) + " enabled=" +
         Num(IsWindowEnabled(hwnd) ? 1 : 0) + " topmost=" + Num((ex & WS_EX_TOPMOST) ? 1 : 0) +
         " iconic=" + Num(IsIconic(hwnd) ? 1 : 0) + " zoomed=" + Num(IsZoomed(hwnd) ? 1 : 0) +
         " caption=\"" + Escaped(cap) + "\"";
}

std::vector<HWND> Descendants(HWND parent) {
  std::vector<HWND> v;
  EnumChildWindows(
      parent,
      [](HWND h, LPARAM lp) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(lp)->push_back(h);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&v));
  return v;
}

RECT ScreenRect(HWND h) {
  RECT r{};
  GetWindowRect(h, &r);
  return r;
}

std::string ControlLine(HWND h) {
  return "control hwnd=" + Hex(reinterpret_cast<uintptr_t>(h)) +
         " parent=" + Hex(reinterpret_cast<uintptr_t>(GetParent(h))) +
         " id=" + Num(GetDlgCtrlID(h)) + " class=\"" + Escaped(ClassOf(h)) +
         "\" rect=" + RectText(ScreenRect(h)) + " visible=" + Num(IsWindowVisible(h) ? 1 : 0) +
         " style=" + Hex(static_cast<DWORD>(GetWindowLongW(h, GWL_STYLE))) + " text=\"" +
         Escaped(WindowText(h)) + "\"";
}

// A control of the window: a handle, "#<id>", or its exact text (buttons and
// labels), optionally narrowed by --class.
HWND ResolveControl(HWND top, const std::wstring& spec, const TArgs& a) {
  if (spec.size() > 2 && spec[0] == L'0' && (spec[1] == L'x' || spec[1] == L'X'))
    return ResolveWindow(spec, a);
  double until = NowMs() + a.waitMs;
  for (;;) {
    for (HWND h : Descendants(top)) {
      if (!a.cls.empty() && !IContains(ClassOf(h), a.cls)) continue;
      if (spec[0] == L'#' && spec.size() > 1) {
        if (GetDlgCtrlID(h) == static_cast<int>(wcstol(spec.c_str() + 1, nullptr, 10))) return h;
      } else if (WindowText(h) == spec) {
        return h;
      }
    }
    if (NowMs() >= until) return nullptr;
    Sleep(20);
  }
}

// ----------------------------------------------------------------- input ----

void RealClick(POINT screen, bool right) {
  SetCursorPos(screen.x, screen.y);
  Sleep(20);
  INPUT in[2] = {};
  in[0].type = in[1].type = INPUT_MOUSE;
  in[0].mi.dwFlags = right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
  in[1].mi.dwFlags = right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
  SendInput(1, &in[0], sizeof(INPUT));
  Sleep(30);
  SendInput(1, &in[1], sizeof(INPUT));
  Sleep(30);
}

// Posts a button press and release at a point of the deepest child under it.
void PostClick(HWND top, POINT screen, bool right) {
  HWND target = top;
  for (;;) {
    POINT p = screen;
    ScreenToClient(target, &p);
    HWND child = ChildWindowFromPointEx(target, p, CWP_SKIPINVISIBLE);
    if (!child || child == target) break;
    target = child;
  }
  POINT p = screen;
  ScreenToClient(target, &p);
  LPARAM lp = MAKELPARAM(p.x, p.y);
  PostMessageW(target, right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, right ? MK_RBUTTON : MK_LBUTTON, lp);
  Sleep(30);
  PostMessageW(target, right ? WM_RBUTTONUP : WM_LBUTTONUP, 0, lp);
  Sleep(30);
}

bool PopupMenuShown(int waitMs);

// A right-click: the release normally becomes WM_CONTEXTMENU in DefWindowProc;
// a target that keeps the release to itself gets the message directly.
void PostRightClick(HWND top, POINT screen) {
  PostClick(top, screen, true);
  if (PopupMenuShown(400)) return;
  HWND target = top;
  POINT p = screen;
  ScreenToClient(top, &p);
  if (HWND child = ChildWindowFromPointEx(top, p, CWP_SKIPINVISIBLE)) target = child;
  PostMessageW(target, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(target), MAKELPARAM(screen.x, screen.y));
}

void PostKey(HWND h, WORD vk) {
  PostMessageW(h, WM_KEYDOWN, vk, 1);
  Sleep(25);
  PostMessageW(h, WM_KEYUP, vk, static_cast<LPARAM>(0xC0000001u));
  Sleep(25);
}

// ------------------------------------------------------------------ bar ----

// The bar: a child whose class names a progress bar; failing that the client
// area above the bottom panel and left of the side menu.
bool BarRect(HWND top, RECT& r) {
  for (HWND h : Descendants(top)) {
    if (IsWindowVisible(h) && IContains(ClassOf(h), L"ProgressBar")) {
      r = ScreenRect(h);
      return true;
    }
  }
  RECT c{};
  GetClientRect(top, &c);
  POINT o{0, 0};
  ClientToScreen(top, &o);
  OffsetRect(&c, o.x, o.y);
  r = c;
  r.bottom -= 41;
  for (HWND h : Descendants(top)) {
    if (GetParent(h) != top || !IsWindowVisible(h)) continue;
    RECT s = ScreenRect(h);
    if (s.right == c.right && s.top <= c.top + 1 && s.bottom >= r.bottom - 1 && s.left > c.left)
      r.right = std::min(r.right, s.left);
  }
  return r.right > r.left && r.bottom > r.top;
}

// Reads one screen column with a single block copy.
bool ReadColumn(HDC screen, HDC mem, HBITMAP bmp, int x, int top, int height, std::vector<DWORD>& raw) {
  HGDIOBJ old = SelectObject(mem, bmp);
  BOOL ok = BitBlt(mem, 0, 0, 1, height, screen, x, top, SRCCOPY);
  SelectObject(mem, old);
  if (!ok) return false;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = 1;
  bi.bmiHeader.biHeight = -height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  raw.assign(static_cast<size_t>(height), 0);
  return GetDIBits(mem, bmp, 0, static_cast<UINT>(height), raw.data(), &bi, DIB_RGB_COLORS) == height;
}

// Filled rows counted from the bottom of the track (the bar fills bottom to
// top): the track is the bar less its frame (one pixel at 96 dpi, thicker at
// a larger display scale: as many rows as the top edge's colour repeats); a
// row counts as filled while it differs from the background (button face).
struct TFill {
  int fill = 0, track = 0;
  DWORD top = 0, bottom = 0;
};

TFill Measure(const std::vector<DWORD>& raw) {
  TFill f;
  int h = static_cast<int>(raw.size());
  if (h < 3) return f;
  COLORREF bf = GetSysColor(COLOR_BTNFACE);
  DWORD bg = (GetRValue(bf) << 16) | (GetGValue(bf) << 8) | GetBValue(bf);
  int frame = 1;
  while (frame < (h - 1) / 2 && (raw[static_cast<size_t>(frame)] & 0xFFFFFF) == (raw[0] & 0xFFFFFF)) ++frame;
  f.track = h - 2 * frame;
  int filled = 0;
  for (int y = h - 1 - frame; y >= frame; --y) {
    if ((raw[static_cast<size_t>(y)] & 0xFFFFFF) == bg) break;
    ++filled;
  }
  f.fill = filled;
  f.top = raw[static_cast<size_t>(frame)] & 0xFFFFFF;
  f.bottom = raw[static_cast<size_t>(h - 1 - frame)] & 0xFFFFFF;
  return f;
}

// ------------------------------------------------------------- registry ----

std::string TypeName(DWORD t) {
  switch (t) {
    case REG_DWORD: return "REG_DWORD";
    case REG_BINARY: return "REG_BINARY";
    case REG_SZ: return "REG_SZ";
    case REG_EXPAND_SZ: return "REG_EXPAND_SZ";
    case REG_MULTI_SZ: return "REG_MULTI_SZ";
    case REG_QWORD: return "REG_QWORD";
    case REG_NONE: return "REG_NONE";
    default: return "REG_" + Num(t);
  }
}

std::string DataText(DWORD type, const std::vector<BYTE>& d) {
  if (type == REG_DWORD && d.size() == 4) {
    int32_t v;
    std::memcpy(&v, d.data(), 4);
    return Num(v);
  }
  if ((type == REG_SZ || type == REG_EXPAND_SZ) && d.size() % 2 == 0) {
    std::wstring w(reinterpret_cast<const wchar_t*>(d.data()), d.size() / 2);
    while (!w.empty() && w.back() == L'\0') w.pop_back();
    return Escaped(w);
  }
  std::string s;
  char b[4];
  for (BYTE x : d) {
    std::snprintf(b, sizeof b, "%02x", x);
    s += b;
  }
  return s;
}

int RegCommand(const TArgs& a, const std::vector<std::wstring>& p) {
  if (p.empty()) return 2;
  const std::wstring& op = p[0];
  if (op == L"del-key") {
    LSTATUS s = RegDeleteTreeW(HKEY_CURRENT_USER, a.key.c_str());
    if (s == ERROR_SUCCESS || s == ERROR_FILE_NOT_FOUND) RegDeleteKeyW(HKEY_CURRENT_USER, a.key.c_str());
    HKEY k;
    bool gone = RegOpenKeyExW(HKEY_CURRENT_USER, a.key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS;
    if (!gone) RegCloseKey(k);
    Out(gone ? "deleted" : "still-there");
    return gone ? 0 : 1;
  }
  bool writing = op.rfind(L"set-", 0) == 0 || op == L"create-key" || op == L"del-value";
  HKEY key = nullptr;
  LSTATUS s = writing ? RegCreateKeyExW(HKEY_CURRENT_USER, a.key.c_str(), 0, nullptr, 0,
                                        KEY_ALL_ACCESS, nullptr, &key, nullptr)
                      : RegOpenKeyExW(HKEY_CURRENT_USER, a.key.c_str(), 0, KEY_READ, &key);
  if (s != ERROR_SUCCESS) {
    Out("nokey");
    return 1;
  }
  int rc = 0;
  auto need = [&](size_t n) {
    if (p.size() < n) {
      rc = 2;
      return false;
    }
    return true;
  };
  if (op == L"create-key") {
    Out("created");
  } else if (op == L"dump") {
    for (DWORD i = 0;; ++i) {
      wchar_t name[256];
      DWORD nameLen = 256, type = 0, size = 0;
      if (RegEnumValueW(key, i, name, &nameLen, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) break;
      std::vector<BYTE> d(size);
      nameLen = 256;
      RegEnumValueW(key, i, name, &nameLen, nullptr, &type, d.data(), &size);
      d.resize(size);
      Out("value name=\"" + Escaped(name) + "\" type=" + TypeName(type) + " size=" + Num(size) +
          " data=" + DataText(type, d));
    }
  } else if (op == L"get") {
    if (need(2)) {
      DWORD type = 0, size = 0;
      if (RegQueryValueExW(key, p[1].c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
        Out("missing");
        rc = 1;
      } else {
        std::vector<BYTE> d(size);
        RegQueryValueExW(key, p[1].c_str(), nullptr, &type, d.data(), &size);
        d.resize(size);
        Out("type=" + TypeName(type) + " size=" + Num(size) + " data=" + DataText(type, d));
      }
    }
  } else if (op == L"set-dword") {
    if (need(3)) {
      // Accepts -2147483648..4294967295; stored as the low 32 bits.
      long long v = wcstoll(p[2].c_str(), nullptr, 0);
      DWORD d = static_cast<DWORD>(static_cast<unsigned long long>(v) & 0xFFFFFFFFull);
      rc = RegSetValueExW(key, p[1].c_str(), 0, REG_DWORD, reinterpret_cast<BYTE*>(&d), 4) ? 1 : 0;
    }
  } else if (op == L"set-qword") {
    if (need(3)) {
      unsigned long long v = static_cast<unsigned long long>(wcstoll(p[2].c_str(), nullptr, 0));
      rc = RegSetValueExW(key, p[1].c_str(), 0, REG_QWORD, reinterpret_cast<BYTE*>(&v), 8) ? 1 : 0;
    }
  } else if (op == L"set-binary" || op == L"set-raw") {
    // set-binary NAME HEX; set-raw NAME TYPE HEX writes any type with any length.
    if (need(op == L"set-raw" ? 4 : 3)) {
      DWORD type = op == L"set-raw" ? static_cast<DWORD>(wcstoul(p[2].c_str(), nullptr, 0)) : REG_BINARY;
      const std::wstring& hex = op == L"set-raw" ? p[3] : p[2];
      std::vector<BYTE> d;
      for (size_t i = 0; i + 1 < hex.size(); i += 2)
        d.push_back(static_cast<BYTE>(wcstoul(hex.substr(i, 2).c_str(), nullptr, 16)));
      rc = RegSetValueExW(key, p[1].c_str(), 0, type, d.empty() ? nullptr : d.data(),
                          static_cast<DWORD>(d.size()))
               ? 1
               : 0;
    }
  } else if (op == L"set-sz") {
    if (need(3)) {
      rc = RegSetValueExW(key, p[1].c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(p[2].c_str()),
                          static_cast<DWORD>((p[2].size() + 1) * sizeof(wchar_t)))
               ? 1
               : 0;
    }
  } else if (op == L"del-value") {
    if (need(2)) {
      LSTATUS d = RegDeleteValueW(key, p[1].c_str());
      rc = (d == ERROR_SUCCESS || d == ERROR_FILE_NOT_FOUND) ? 0 : 1;
    }
  } else {
    rc = 2;
  }
  RegCloseKey(key);
  return rc;
}

// ------------------------------------------------------------ processes ----

// Starts EXE in its own folder (where it finds its sounds).
bool Launch(const std::wstring& exe, PROCESS_INFORMATION& pi) {
  std::wstring cmd = L"\"" + exe + L"\"";
  size_t slash = exe.find_last_of(L"\\/");
  std::wstring dir = slash == std::wstring::npos ? std::wstring() : exe.substr(0, slash);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      dir.empty() ? nullptr : dir.c_str(), &si, &pi)) {
    Err("CreateProcess failed: " + Num(GetLastError()));
    return false;
  }
  CloseHandle(pi.hThread);
  return true;
}

int StartProcess(const std::wstring& exe) {
  PROCESS_INFORMATION pi{};
  if (!Launch(exe, pi)) return 1;
  Out("pid=" + Num(pi.dwProcessId));
  CloseHandle(pi.hProcess);
  return 0;
}

// Starts EXE and stays with it: prints its pid at once and its exit code when
// it ends, so a scenario learns how the program ended even after the fact.
int RunProcess(const std::wstring& exe) {
  PROCESS_INFORMATION pi{};
  if (!Launch(exe, pi)) return 1;
  Out("pid=" + Num(pi.dwProcessId));
  WaitForSingleObject(pi.hProcess, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hProcess);
  Out("exited code=" + Num(code));
  return 0;
}

int WaitExit(DWORD pid, int ms) {
  HANDLE h = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  if (!h) {
    Out("exited code=unknown");
    return 0;
  }
  DWORD r = WaitForSingleObject(h, static_cast<DWORD>(ms));
  DWORD code = 0;
  GetExitCodeProcess(h, &code);
  CloseHandle(h);
  if (r == WAIT_OBJECT_0) {
    Out("exited code=" + Num(code));
    return 0;
  }
  Out("running");
  return 1;
}

// What a process holds: its memory in KB, its kernel handles and its GDI and
// USER objects. A figure the system would not give is printed as -1.
int ProcessResources(DWORD pid) {
  HANDLE h = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
  if (!h) {
    Out("gone");
    return 1;
  }
  long long workingSet = -1, privateBytes = -1, handles = -1;
  PROCESS_MEMORY_COUNTERS_EX m{};
  m.cb = sizeof m;
  if (GetProcessMemoryInfo(h, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&m), sizeof m)) {
    workingSet = static_cast<long long>(m.WorkingSetSize / 1024);
    privateBytes = static_cast<long long>(m.PrivateUsage / 1024);
  }
  DWORD count = 0;
  if (GetProcessHandleCount(h, &count)) handles = count;
  // GetGuiResources gives 0 for failure as well as for none.
  long long gdi = GetGuiResources(h, GR_GDIOBJECTS);
  long long user = GetGuiResources(h, GR_USEROBJECTS);
  CloseHandle(h);
  Out("working_set_kb=" + Num(workingSet) + " private_kb=" + Num(privateBytes) + " handles=" +
      Num(handles) + " gdi=" + Num(gdi) + " user=" + Num(user));
  return 0;
}

std::vector<DWORD> ProcessesNamed(const std::wstring& name) {
  std::vector<DWORD> v;
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snap == INVALID_HANDLE_VALUE) return v;
  PROCESSENTRY32W e{};
  e.dwSize = sizeof e;
  for (BOOL ok = Process32FirstW(snap, &e); ok; ok = Process32NextW(snap, &e))
    if (IEquals(e.szExeFile, name)) v.push_back(e.th32ProcessID);
  CloseHandle(snap);
  return v;
}

// ---------------------------------------------------------------- menus ----

HWND FindPopupMenu(int waitMs) {
  double until = NowMs() + waitMs;
  for (;;) {
    HWND h = nullptr;
    while ((h = FindWindowExW(nullptr, h, L"#32768", nullptr)) != nullptr)
      if (IsWindowVisible(h)) return h;
    if (NowMs() >= until) return nullptr;
    Sleep(20);
  }
}

bool PopupMenuShown(int waitMs) { return FindPopupMenu(waitMs) != nullptr; }

std::vector<std::wstring> Split(const std::wstring& s, wchar_t sep) {
  std::vector<std::wstring> v;
  size_t start = 0;
  for (;;) {
    size_t p = s.find(sep, start);
    v.push_back(s.substr(start, p == std::wstring::npos ? std::wstring::npos : p - start));
    if (p == std::wstring::npos) break;
    start = p + 1;
  }
  return v;
}

// The open menu's items ("-" for a separator): read from the menu when the
// system lets another process do so, otherwise the layout given by --items.
std::vector<std::wstring> MenuItems(HWND menuWnd, const TArgs& a, bool& readFromMenu) {
  readFromMenu = false;
  std::vector<std::wstring> v;
  DWORD_PTR res = 0;
  SendMessageTimeoutW(menuWnd, MN_GETHMENU, 0, 0, SMTO_ABORTIFHUNG, 1000, &res);
  HMENU m = reinterpret_cast<HMENU>(res);
  int n = m ? GetMenuItemCount(m) : -1;
  if (n > 0) {
    for (int i = 0; i < n; ++i) {
      MENUITEMINFOW mi{};
      mi.cbSize = sizeof mi;
      mi.fMask = MIIM_FTYPE;
      GetMenuItemInfoW(m, static_cast<UINT>(i), TRUE, &mi);
      if (mi.fType & MFT_SEPARATOR) {
        v.push_back(L"-");
        continue;
      }
      wchar_t buf[256] = {};
      GetMenuStringW(m, static_cast<UINT>(i), buf, 256, MF_BYPOSITION);
      v.push_back(buf);
    }
    readFromMenu = true;
    return v;
  }
  if (!a.items.empty()) v = Split(a.items, L',');
  return v;
}

// ------------------------------------------------------------ screen reader ----

// What a screen reader gets from a window through oleacc, from this process:
// role, name, value and default action of its client area.
bool AccessibleLine(HWND hwnd, std::string& line) {
  // Spelled out: the import library's symbol does not match Wine's oleacc.
  static const GUID kIidIAccessible = {0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  IAccessible* acc = nullptr;
  if (FAILED(AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT), kIidIAccessible,
                                        reinterpret_cast<void**>(&acc))) ||
      !acc)
    return false;
  VARIANT self{};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  VARIANT role{};
  const long roleId = SUCCEEDED(acc->get_accRole(self, &role)) && role.vt == VT_I4 ? role.lVal : -1;
  auto text = [&](HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*)) {
    BSTR b = nullptr;
    std::string t;
    if (SUCCEEDED((acc->*get)(self, &b)) && b) t = Utf8(std::wstring(b, SysStringLen(b)));
    SysFreeString(b);
    return t;
  };
  line = "role=" + std::to_string(roleId) + " name=\"" + text(&IAccessible::get_accName) + "\" value=\"" +
         text(&IAccessible::get_accValue) + "\" action=\"" + text(&IAccessible::get_accDefaultAction) + "\"";
  acc->Release();
  return true;
}

// ----------------------------------------------------------------- usage ----

const char* kUsage =
    "usage: lumeno_driver COMMAND [ARGS] [--wait MS] [--pid N] [--class NAME] [--all] [--real]\n"
    "  find CAPTION | windows CAPTION|* | info WIN | controls WIN | text WIN|CONTROL\n"
    "  click WIN CONTROL | checked WIN CONTROL | value WIN ROWTEXT... | updown WIN ROWTEXT up|down [COUNT] | mouse WIN X Y [left|right]\n"
    "  select WIN ENTRY\n"
    "  rclick WIN [X Y] | menu-items | menu-pick TEXT [--items A,-,B] | acc WIN [CONTROL]\n"
    "  bar WIN | bar-sample WIN DURATION_MS [INTERVAL_MS] | pixel X Y\n"
    "  close WIN | show WIN max|min|restore | move WIN X Y W H | foreground | wait-gone WIN MS\n"
    "  startup EXE CX CY RRGGBB [MS] | client-pixel WIN CX CY\n"
    "  start EXE | run EXE | wait-exit PID MS | kill PID | procs NAME | resources PID\n"
    "  reg dump|get NAME|set-dword NAME V|set-qword NAME V|set-binary NAME HEX|\n"
    "      set-raw NAME TYPE HEX|set-sz NAME TEXT|del-value NAME|del-key|create-key [--key PATH]\n"
    "  reg batch \"OP|NAME|ARG\"...\n";

int Usage() {
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_ERROR_HANDLE), kUsage, static_cast<DWORD>(std::strlen(kUsage)),
            &written, nullptr);
  return 2;
}

HWND NeedWindow(const TArgs& a, size_t index) {
  if (a.positional.size() <= index) return nullptr;
  HWND h = ResolveWindow(a.positional[index], a);
  if (!h) Err("no window \"" + Utf8(a.positional[index]) + "\"");
  return h;
}

// The control that positional argument index names inside top, or null after
// saying which one is missing.
HWND NeedControl(HWND top, const TArgs& a, size_t index) {
  HWND c = ResolveControl(top, a.positional[index], a);
  if (!c) Err("no control \"" + Utf8(a.positional[index]) + "\"");
  return c;
}

// An up-down control on the row of a label that starts with ROWTEXT: the
// nearest up-down to the label's right whose vertical span holds the label's
// middle (or, failing that, whose middle lies closest).
HWND UpDownForRow(HWND top, const std::wstring& rowText) {
  auto all = Descendants(top);
  for (HWND label : all) {
    std::wstring t = WindowText(label);
    if (t.rfind(rowText, 0) != 0 || IContains(ClassOf(label), L"updown")) continue;
    RECT lr = ScreenRect(label);
    int mid = (lr.top + lr.bottom) / 2;
    HWND best = nullptr;
    long bestScore = 0;
    for (HWND u : all) {
      if (!IContains(ClassOf(u), L"updown") || !IsWindowVisible(u)) continue;
      RECT ur = ScreenRect(u);
      if (ur.left < lr.left) continue;
      int umid = (ur.top + ur.bottom) / 2;
      long dy = std::abs(umid - mid);
      if (dy > (ur.bottom - ur.top)) continue;
      long score = dy * 1000 + (ur.left - lr.left);
      if (!best || score < bestScore) {
        best = u;
        bestScore = score;
      }
    }
    if (best) return best;
  }
  return nullptr;
}

// The figure shown on the row of a label that starts with ROWTEXT: the
// nearest control to the label's right on the same row, up-downs excepted.
HWND ValueForRow(HWND top, const std::wstring& rowText) {
  auto all = Descendants(top);
  for (HWND label : all) {
    if (WindowText(label).rfind(rowText, 0) != 0) continue;
    RECT lr = ScreenRect(label);
    int mid = (lr.top + lr.bottom) / 2;
    HWND best = nullptr;
    long bestDx = 0;
    for (HWND c : all) {
      if (c == label || IContains(ClassOf(c), L"updown") || !IsWindowVisible(c)) continue;
      RECT cr = ScreenRect(c);
      if (cr.top > mid || cr.bottom < mid || cr.left < lr.right - 2) continue;
      long dx = cr.left - lr.right;
      if (!best || dx < bestDx) {
        best = c;
        bestDx = dx;
      }
    }
    if (best) return best;
  }
  return nullptr;
}

}  // namespace

int main() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv || argc < 2) return Usage();
  std::wstring cmd = argv[1];
  TArgs a;
  if (!ParseArgs(argc, argv, a)) return Usage();
  const auto& p = a.positional;
  NowMs();

  if (cmd == L"find" || cmd == L"windows") {
    if (p.empty()) return Usage();
    if (cmd == L"find") {
      HWND h = ResolveWindow(p[0], a);
      if (!h) {
        Out("notfound");
        return 1;
      }
      Out(WindowLine(h));
      return 0;
    }
    auto v = FindTopNow(p[0], a);
    for (HWND h : v) Out(WindowLine(h));
    return v.empty() ? 1 : 0;
  }
  if (cmd == L"info") {
    HWND h = NeedWindow(a, 0);
    if (!h) return 1;
    Out(WindowLine(h));
    return 0;
  }
  if (cmd == L"controls") {
    HWND h = NeedWindow(a, 0);
    if (!h) return 1;
    for (HWND c : Descendants(h)) Out(ControlLine(c));
    return 0;
  }
  if (cmd == L"text") {
    HWND h = NeedWindow(a, 0);
    if (!h) return 1;
    if (p.size() > 1) h = ResolveControl(h, p[1], a);
    if (!h) return 1;
    // The raw text, line breaks kept: long texts such as the help are checked this way.
    std::string s = Utf8(WindowText(h));
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), s.data(), static_cast<DWORD>(s.size()), &written, nullptr);
    Out("");
    return 0;
  }
  if (cmd == L"click") {
    HWND h = NeedWindow(a, 0);
    if (!h || p.size() < 2) return h ? Usage() : 1;
    HWND c = NeedControl(h, a, 1);
    if (!c) return 1;
    if (a.real) {
      RECT r = ScreenRect(c);
      RealClick({(r.left + r.right) / 2, (r.top + r.bottom) / 2}, false);
    } else {
      // Posted, not sent: a button that opens a modal window would not return.
      PostMessageW(c, BM_CLICK, 0, 0);
      Sleep(50);
    }
    Out("clicked " + Hex(reinterpret_cast<uintptr_t>(c)));
    return 0;
  }
  if (cmd == L"checked") {
    HWND h = NeedWindow(a, 0);
    if (!h || p.size() < 2) return h ? Usage() : 1;
    HWND c = NeedControl(h, a, 1);
    if (!c) return 1;
    DWORD_PTR state = 0;
    SendMessageTimeoutW(c, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 2000, &state);
    Out("checked=" + Num(state == BST_CHECKED ? 1 : 0));
    return 0;
  }
  if (cmd == L"updown") {
    HWND h = NeedWindow(a, 0);
    if (!h || p.size() < 3) return h ? Usage() : 1;
    HWND u = UpDownForRow(h, p[1]);
    if (!u) {
      Err("no up-down on the row \"" + Utf8(p[1]) + "\"");
      return 1;
    }
    bool up = p[2] == L"up";
    int count = p.size() > 3 ? static_cast<int>(wcstol(p[3].c_str(), nullptr, 10)) : 1;
    RECT r = ScreenRect(u);
    int w = r.right - r.left, ht = r.bottom - r.top;
    // A vertical pair: the upper half is "up"; a horizontal one: the right half.
    bool horizontal = (GetWindowLongW(u, GWL_STYLE) & UDS_HORZ) != 0;
    POINT client = horizontal ? POINT{up ? w * 3 / 4 : w / 4, ht / 2}
                              : POINT{w / 2, up ? ht / 4 : ht * 3 / 4};
    for (int i = 0; i < count; ++i) {
      if (a.real) {
        RealClick({r.left + client.x, r.top + client.y}, false);
      } else {
        LPARAM lp = MAKELPARAM(client.x, client.y);
        PostMessageW(u, WM_LBUTTONDOWN, MK_LBUTTON, lp);
        PostMessageW(u, WM_LBUTTONUP, 0, lp);
        Sleep(15);
      }
    }
    Sleep(50);
    Out("pressed " + Hex(reinterpret_cast<uintptr_t>(u)) + " " + (up ? "up" : "down") + " x" + Num(count));
    return 0;
  }
  if (cmd == L"select") {
    // The drop-down list of WIN that holds ENTRY is set to it, and its window
    // hears of the change as it would from the user's choice.
    HWND h = NeedWindow(a, 0);
    if (!h || p.size() < 2) return h ? Usage() : 1;
    for (HWND c : Descendants(h)) {
      if (!IContains(ClassOf(c), L"ComboBox")) continue;
      DWORD_PTR index = 0;
      if (!SendMessageTimeoutW(c, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(p[1].c_str()),
                               SMTO_ABORTIFHUNG, 2000, &index) ||
          static_cast<LRESULT>(index) == CB_ERR)
        continue;
      DWORD_PTR ignored = 0;
      SendMessageTimeoutW(c, CB_SETCURSEL, index, 0, SMTO_ABORTIFHUNG, 2000, &ignored);
      PostMessageW(GetParent(c), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(c), CBN_SELCHANGE), reinterpret_cast<LPARAM>(c));
      Sleep(50);
      Out("selected=\"" + Escaped(WindowText(c)) + "\" index=" + Num(static_cast<long long>(index)));
      return 0;
    }
    Err("no list holds \"" + Utf8(p[1]) + "\"");
    return 1;
  }
  if (cmd == L"mouse" || cmd == L"rclick") {
    HWND h = NeedWindow(a, 0);
    if (!h) return 1;
    RECT r{};
    if (cmd == L"rclick" && p.size() < 3) {
      BarRect(h, r);
    } else {
      GetClientRect(h, &r);
      POINT o{0, 0};
      ClientToScreen(h, &o);
      OffsetRect(&r, o.x, o.y);
    }
    POINT s{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    if (p.size() >= 3) {
      // Client coordinates of the window.
      POINT o{0, 0};
      ClientToScreen(h, &o);
      s = {o.x + static_cast<LONG>(wcstol(p[1].c_str(), nullptr, 10)),
           o.y + static_cast<LONG>(wcstol(p[2].c_str(), nullptr, 10))};
    }
    bool right = cmd == L"rclick" || (p.size() > 3 && p[3] == L"right");
    if (a.real) {
      RealClick(s, right);
    } else if (right) {
      PostRightClick(h, s);
    } else {
      PostClick(h, s, false);
    }
    Out("clicked at " + Num(s.x) + "," + Num(s.y));
    return 0;
  }
  if (cmd == L"menu-items" || cmd == L"menu-pick") {
    HWND m = FindPopupMenu(a.waitMs);
    if (!m) {
      Out("nomenu");
      return 1;
    }
    bool readable = false;
    auto items = MenuItems(m, a, readable);
    Out(std::string("menu hwnd=") + Hex(reinterpret_cast<uintptr_t>(m)) +
        " readable=" + (readable ? "1" : "0") + " count=" + Num(static_cast<long long>(items.size())));
    if (cmd == L"menu-items") {
      for (auto& i : items) Out("item \"" + Escaped(i) + "\"");
      return 0;
    }
    if (p.empty()) return Usage();
    // Keyboard: the menu loop takes keys from its thread's queue; each Down
    // moves to the next item that is not a separator.
    int downs = 0;
    bool found = false;
    for (auto& i : items) {
      if (i == L"-") continue;
      ++downs;
      if (i == p[0]) {
        found = true;
        break;
      }
    }
    if (!found) {
      Err("no menu item \"" + Utf8(p[0]) + "\"");
      PostKey(m, VK_ESCAPE);
      return 1;
    }
    for (int i = 0; i < downs; ++i) PostKey(m, VK_DOWN);
    PostKey(m, VK_RETURN);
    Out("picked \"" + Utf8(p[0]) + "\"");
    return 0;
  }
  if (cmd == L"bar" || cmd == L"bar-sample") {
    HWND h = NeedWindow(a, 0);
    if (!h) return 1;
    RECT r;
    if (!BarRect(h, r)) {
      Err("no bar");
      return 1;
    }
    int duration = cmd == L"bar" ? 0 : (p.size() > 1 ? static_cast<int>(wcstol(p[1].c_str(), nullptr, 10)) : 1000);
    int interval = p.size() > 2 ? static_cast<int>(wcstol(p[2].c_str(), nullptr, 10)) : 10;
    // The middle column of the bar, away from any centred text.
    int x = r.left + std::max<LONG>(1, (r.right - r.left) / 4);
    int height = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, 1, height);
    Out("bar rect=" + RectText(r) + " column=" + Num(x));
    std::vector<DWORD> raw;
    double t0 = NowMs();
    double next = t0;
    int rc = 0;
    for (;;) {
      double t = NowMs();
      if (!ReadColumn(screen, mem, bmp, x, r.top, height, raw)) {
        rc = 1;
        break;
      }
      TFill f = Measure(raw);
      char line[160];
      std::snprintf(line, sizeof line, "sample t=%.1f fill=%d track=%d top=%06lx bottom=%06lx", t - t0,
                    f.fill, f.track, static_cast<unsigned long>(f.top),
                    static_cast<unsigned long>(f.bottom));
      Out(line);
      next += interval;
      if (NowMs() - t0 >= duration) break;
      double wait = next - NowMs();
      if (wait > 1) Sleep(static_cast<DWORD>(wait));
    }
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return rc;
  }
  if (cmd == L"acc") {
    HWND h = NeedWindow(a, 0);
    if (!h) return 1;
    HWND c = p.size() > 1 ? NeedControl(h, a, 1) : h;
    if (!c) return 1;
    std::string line;
    if (!AccessibleLine(c, line)) {
      Err("no accessible object");
      return 1;
    }
    Out(line);
    return 0;
  }
  if (cmd == L"pixel") {
    if (p.size() < 2) return Usage();
    HDC screen = GetDC(nullptr);
    COLORREF c = GetPixel(screen, static_cast<int>(wcstol(p[0].c_str(), nullptr, 10)),
                          static_cast<int>(wcstol(p[1].c_str(), nullptr, 10)));
    ReleaseDC(nullptr, screen);
    char line[64];
    std::snprintf(line, sizeof line, "rgb=%d,%d,%d", GetRValue(c), GetGValue(c), GetBValue(c));
    Out(line);
    return 0;
  }
  if (cmd == L"close") {
    HWND h = NeedWindow(a, 0);
    if (!h) return 1;
    PostMessageW(h, WM_CLOSE, 0, 0);
    Out("posted WM_CLOSE " + Hex(reinterpret_cast<uintptr_t>(h)));
    return 0;
  }
  if (cmd == L"show") {
    HWND h = NeedWindow(a, 0);
    if (!h || p.size() < 2) return h ? Usage() : 1;
    int sw = p[1] == L"max" ? SW_MAXIMIZE : p[1] == L"min" ? SW_MINIMIZE : SW_RESTORE;
    ShowWindowAsync(h, sw);
    Sleep(200);
    Out(WindowLine(h));
    return 0;
  }
  if (cmd == L"move") {
    HWND h = NeedWindow(a, 0);
    if (!h || p.size() < 5) return h ? Usage() : 1;
    int v[4];
    for (int i = 0; i < 4; ++i) v[i] = static_cast<int>(wcstol(p[static_cast<size_t>(i) + 1].c_str(), nullptr, 10));
    SetWindowPos(h, nullptr, v[0], v[1], v[2], v[3], SWP_NOZORDER | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
    Sleep(200);
    Out(WindowLine(h));
    return 0;
  }
  if (cmd == L"foreground") {
    HWND h = GetForegroundWindow();
    if (!h) {
      Out("none");
      return 1;
    }
    Out(WindowLine(h));
    return 0;
  }
  if (cmd == L"wait-gone") {
    if (p.empty()) return Usage();
    int ms = p.size() > 1 ? static_cast<int>(wcstol(p[1].c_str(), nullptr, 10)) : 5000;
    double until = NowMs() + ms;
    while (!FindTopNow(p[0], a).empty()) {
      if (NowMs() >= until) {
        Out("present");
        return 1;
      }
      Sleep(20);
    }
    Out("gone");
    return 0;
  }
  if (cmd == L"start") {
    if (p.empty()) return Usage();
    return StartProcess(p[0]);
  }
  if (cmd == L"run") {
    if (p.empty()) return Usage();
    return RunProcess(p[0]);
  }
  if (cmd == L"startup") {
    // startup EXE CX CY RRGGBB [TIMEOUT_MS]: start-up time to the first frame
    // that shows RRGGBB at client point (CX, CY measured from the bottom-left
    // when negative); then closes the window and waits for the process.
    if (p.size() < 4) return Usage();
    int cx = static_cast<int>(wcstol(p[1].c_str(), nullptr, 10));
    int cy = static_cast<int>(wcstol(p[2].c_str(), nullptr, 10));
    DWORD want = static_cast<DWORD>(wcstoul(p[3].c_str(), nullptr, 16));
    int timeout = p.size() > 4 ? static_cast<int>(wcstol(p[4].c_str(), nullptr, 10)) : 20000;
    double t0 = NowMs();
    PROCESS_INFORMATION pi{};
    if (!Launch(p[0], pi)) return 1;
    TArgs find = a;
    find.pid = pi.dwProcessId;
    HWND w = nullptr;
    double windowMs = -1, paintedMs = -1;
    HDC screen = GetDC(nullptr);
    while (NowMs() - t0 < timeout) {
      if (!w) {
        for (HWND h : FindTopNow(L"*", find)) {
          RECT r{};
          GetWindowRect(h, &r);
          if (r.right - r.left > 1 && r.bottom - r.top > 1) {
            w = h;
            windowMs = NowMs() - t0;
            break;
          }
        }
      }
      if (w) {
        RECT c{};
        GetClientRect(w, &c);
        POINT pt{cx < 0 ? c.right + cx : cx, cy < 0 ? c.bottom + cy : cy};
        ClientToScreen(w, &pt);
        COLORREF got = GetPixel(screen, pt.x, pt.y);
        DWORD rgb = (GetRValue(got) << 16) | (GetGValue(got) << 8) | GetBValue(got);
        if (rgb == want) {
          paintedMs = NowMs() - t0;
          break;
        }
      }
      Sleep(1);
    }
    ReleaseDC(nullptr, screen);
    char line[96];
    std::snprintf(line, sizeof line, "window_ms=%.1f painted_ms=%.1f", windowMs, paintedMs);
    Out(line);
    if (w) PostMessageW(w, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hProcess);
    return paintedMs < 0 ? 1 : 0;
  }
  if (cmd == L"client-pixel") {
    // client-pixel WIN CX CY: as in startup, negative from the right/bottom.
    HWND h = NeedWindow(a, 0);
    if (!h || p.size() < 3) return h ? Usage() : 1;
    RECT c{};
    GetClientRect(h, &c);
    int cx = static_cast<int>(wcstol(p[1].c_str(), nullptr, 10));
    int cy = static_cast<int>(wcstol(p[2].c_str(), nullptr, 10));
    POINT pt{cx < 0 ? c.right + cx : cx, cy < 0 ? c.bottom + cy : cy};
    ClientToScreen(h, &pt);
    HDC screen = GetDC(nullptr);
    COLORREF got = GetPixel(screen, pt.x, pt.y);
    ReleaseDC(nullptr, screen);
    char line[32];
    std::snprintf(line, sizeof line, "rgb=%02x%02x%02x", GetRValue(got), GetGValue(got), GetBValue(got));
    Out(line);
    return 0;
  }
  if (cmd == L"wait-exit") {
    if (p.size() < 2) return Usage();
    return WaitExit(static_cast<DWORD>(wcstoul(p[0].c_str(), nullptr, 10)),
                    static_cast<int>(wcstol(p[1].c_str(), nullptr, 10)));
  }
  if (cmd == L"kill") {
    if (p.empty()) return Usage();
    HANDLE h = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE,
                           static_cast<DWORD>(wcstoul(p[0].c_str(), nullptr, 10)));
    if (!h) {
      Out("gone");
      return 0;
    }
    TerminateProcess(h, 1);
    WaitForSingleObject(h, 5000);
    CloseHandle(h);
    Out("killed");
    return 0;
  }
  if (cmd == L"resources") {
    if (p.empty()) return Usage();
    return ProcessResources(static_cast<DWORD>(wcstoul(p[0].c_str(), nullptr, 10)));
  }
  if (cmd == L"procs") {
    if (p.empty()) return Usage();
    auto v = ProcessesNamed(p[0]);
    for (DWORD pid : v) Out("pid=" + Num(pid));
    return v.empty() ? 1 : 0;
  }
  if (cmd == L"reg") {
    if (!p.empty() && p[0] == L"batch") {
      // reg batch "set-dword|Breath In|30" "del-value|Hold In" ...: one process for many writes.
      for (size_t i = 1; i < p.size(); ++i) {
        int rc = RegCommand(a, Split(p[i], L'|'));
        if (rc != 0) return rc;
      }
      return 0;
    }
    return RegCommand(a, p);
  }
  if (cmd == L"value") {
    HWND h = NeedWindow(a, 0);
    if (!h || p.size() < 2) return h ? Usage() : 1;
    // One line per row asked for, in the order asked.
    int rc = 0;
    for (size_t i = 1; i < p.size(); ++i) {
      HWND v = ValueForRow(h, p[i]);
      if (!v) {
        Err("no value on the row \"" + Utf8(p[i]) + "\"");
        Out("value=\"?\"");
        rc = 1;
        continue;
      }
      Out("value=\"" + Escaped(WindowText(v)) + "\"");
    }
    return rc;
  }
  return Usage();
}
