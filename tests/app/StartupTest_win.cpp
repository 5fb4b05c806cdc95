// Start-up and the application object under Wine: the order in which the
// windows and components come to life, a start that the guard ends, the loop
// showing the main window and ending with it, and the application window
// handing activation on to the main window, and the process's end.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

#include "exercise/Sound_win.h"

#include "windows/WindowsTestSupport.h"

namespace lumeno::test {
namespace {

using TStartup = TLumenoFixture;

constexpr char kEndFlag[] = "--end-with-player=";

// Runs before the tests: the re-launched executable runs Lumeno as WinMain
// does, on a player that returns or one that never does, and closes it. It
// exits with 40 only once the windows' end has returned.
[[maybe_unused]] const bool kIsEnding = [] {
  const char* flag = std::strstr(GetCommandLineA(), kEndFlag);
  if (!flag) return false;
  const bool stuck = std::strstr(flag, "stuck") != nullptr;
  TPlayerThread player([stuck](const wchar_t*, unsigned) { return stuck ? Sleep(INFINITE), false : true; });
  TLumenoServices services{MakeFakeRegistry};
  services.Player = &player;
  services.GuardLoaded = [] {};
  {
    TLumenoProgram program(services);
    program.Create(GetModuleHandleW(nullptr));
    TLater::After(100, [&] { PostMessageW(program.FormLumeno->Handle(), WM_CLOSE, 0, 0); });
    program.Run(SW_SHOWNORMAL);
  }
  std::exit(40);
}();

int IndexOf(const std::vector<std::string>& log, const std::string& prefix, size_t from = 0) {
  for (size_t i = from; i < log.size(); ++i)
    if (log[i].rfind(prefix, 0) == 0) return static_cast<int>(i);
  return -1;
}

TEST_F(TStartup, ComponentsAndWindowsComeToLifeInDescriptionOrder) {
  size_t registryCallsAtGuard = 0;
  bool mainExistedAtGuard = false;
  std::string titleAtGuard = "(not run)";
  // The application object outlives each test: start from no title at all.
  Application().SetTitle("");
  Start([&] {
    Events.push_back("guard");
    registryCallsAtGuard = Hive().log.size();
    mainExistedAtGuard = Application().MainWindow() != nullptr;
    titleAtGuard = Application().Title();
  });
  // The guard names its mutex and searches by the title, so the title is
  // set before the main window (with its guard) is created.
  EXPECT_EQ(titleAtGuard, "Lumeno");
  // The placement store restores, then the guard runs, then FormCreate reads
  // the counter; the settings dialog then loads and starts the pacer.
  EXPECT_EQ(Events, (std::vector<std::string>{"guard", "frequency", "start in.wav"}));
  EXPECT_TRUE(mainExistedAtGuard);
  const std::vector<std::string>& log = Hive().log;
  const int placement = IndexOf(log, "ReadBinary RCWindowState");
  const int settings = IndexOf(log, "ValueExists");
  ASSERT_GE(placement, 0);
  ASSERT_GE(settings, 0);
  EXPECT_LT(placement, static_cast<int>(registryCallsAtGuard));
  EXPECT_GE(settings, static_cast<int>(registryCallsAtGuard));
  // The first run wrote the defaults; the bar waits for the first inhale.
  EXPECT_EQ(*Stored("Breath In"), Dword(30));
  EXPECT_EQ(Main().AlBarOddech().GetMax(), 3000);
  EXPECT_TRUE(Main().TimerBreatch().Enabled());
  EXPECT_EQ(Main().Pacer().FStartCount, 0);
  EXPECT_EQ(Main().Pacer().FFrequency, 1000);
  ASSERT_NE(Program->FormInstruction, nullptr);
  ASSERT_NE(Program->FormAbout, nullptr);
  EXPECT_EQ(Application().Title(), "Lumeno");
  EXPECT_EQ(TextOf(Application().Handle()), L"Lumeno");
}

TEST_F(TStartup, StoredSoundsOffStartsNoSound) {
  StoreSettings(30, 60, 5, 5, false, true, false);
  Start();
  EXPECT_EQ(Events, (std::vector<std::string>{"frequency"}));
}

TEST_F(TStartup, AGuardThatEndsTheStartStillCreatesEveryWindowAndShowsNone) {
  Start([] {
    Application().ShowMainForm = false;
    Application().Terminate();
  });
  // Steps after the guard still run: the settings load, the sound starts.
  EXPECT_NE(Settings().Handle(), nullptr);
  EXPECT_NE(Instruction().Handle(), nullptr);
  EXPECT_NE(About().Handle(), nullptr);
  EXPECT_EQ(Events.back(), "start in.wav");
  EXPECT_EQ(Program->Run(SW_SHOWNORMAL), 0);
  EXPECT_TRUE(Application().Terminated());
  EXPECT_FALSE(IsWindowVisible(Main().Handle()));
  EXPECT_FALSE(IsWindowVisible(Application().Handle()));
  // It never saved a placement of its own.
  EXPECT_FALSE(Stored("RCLeft").has_value());
  Application().ShowMainForm = true;
}

TEST_F(TStartup, TheLoopShowsTheMainWindowAndEndsWhenItCloses) {
  Start();
  bool shownDuringLoop = false;
  TLater::After(100, [&] {
    shownDuringLoop = IsWindowVisible(Main().Handle()) && IsWindowVisible(Application().Handle());
    PostMessageW(Main().Handle(), WM_CLOSE, 0, 0);
  });
  EXPECT_EQ(Program->Run(SW_SHOWNORMAL), 0);
  EXPECT_TRUE(shownDuringLoop);
  EXPECT_EQ(*Stored("RCLeft"), Dword(416));
  EXPECT_EQ(*Stored("RCWindowState"), Binary({0}));
}

TEST_F(TStartup, ClosingTheApplicationWindowClosesTheMainWindow) {
  Start();
  TLater::After(100, [&] { PostMessageW(Application().Handle(), WM_CLOSE, 0, 0); });
  EXPECT_EQ(Program->Run(SW_SHOWNORMAL), 0);
  EXPECT_TRUE(Stored("RCLeft").has_value());
}

TEST_F(TStartup, ActivatingTheApplicationWindowRestoresAndActivatesTheMainWindow) {
  Start();
  ShowWindow(Application().Handle(), SW_SHOWNOACTIVATE);
  Main().ShowMainForm(SW_SHOWNORMAL);
  ShowWindow(Main().Handle(), SW_MINIMIZE);
  ASSERT_TRUE(IsIconic(Main().Handle()));
  SetForegroundWindow(Application().Handle());
  PumpFor(200);
  EXPECT_FALSE(IsIconic(Main().Handle()));
  EXPECT_EQ(GetForegroundWindow(), Main().Handle());
  EXPECT_EQ(ToString(WindowBounds(Main().Handle())), "416,115,229,480");
}

TEST_F(TStartup, ActivationGoesToTheModalWindowWhileOneIsOpen) {
  Start();
  ShowWindow(Application().Handle(), SW_SHOWNOACTIVATE);
  Main().ShowMainForm(SW_SHOWNORMAL);
  HWND foreground = nullptr;
  TLater::After(80, [&] { SetForegroundWindow(Application().Handle()); });
  TLater::After(300, [&] {
    foreground = GetForegroundWindow();
    PostMessageW(Settings().Handle(), WM_CLOSE, 0, 0);
  });
  Settings().ShowModal();
  EXPECT_EQ(foreground, Settings().Handle());
}

TEST(TApplicationObject, TitleIsCutTo255CharactersAndNamesTheApplicationWindow) {
  Application().Initialize(GetModuleHandleW(nullptr));
  Application().SetTitle(std::string(300, 'x'));
  EXPECT_EQ(Application().Title(), std::string(255, 'x'));
  char caption[512] = {};
  GetWindowTextA(Application().Handle(), caption, 512);
  EXPECT_EQ(std::string(caption), std::string(255, 'x'));
  Application().SetTitle(std::string("Lum\0eno", 7));
  EXPECT_EQ(Application().Title(), "Lum");
  Application().SetTitle("Lumeno");
}

TEST(TApplicationObject, ANestedLoopPassesTheQuitMessageOn) {
  Application().Initialize(GetModuleHandleW(nullptr));
  DrainMessages();
  PostQuitMessage(7);
  EXPECT_FALSE(Application().ProcessMessage());
  EXPECT_TRUE(Application().Terminated());
  MSG msg{};
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 7u);
}

// Closing Lumeno ends its process as an ordinary program ends, and a player
// stuck for good delays that by its bounded wait only.
TEST(TShutdown, ClosingEndsTheProcessAlsoWithAPlayerThatNeverReturns) {
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  for (auto [player, code] : {std::pair{"returns", 40u}, {"stuck", 0u}}) {
    std::string command = "\"" + std::string(self) + "\" " + kEndFlag + player;
    STARTUPINFOA si{sizeof si};
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    // Generous: only a process that never ends fails here.
    const DWORD waited = WaitForSingleObject(pi.hProcess, 60000);
    TerminateProcess(pi.hProcess, 1);  // if it still runs
    DWORD exitCode = 1;
    GetExitCodeProcess(pi.hProcess, &exitCode);
    EXPECT_EQ(waited, WAIT_OBJECT_0) << player;
    EXPECT_EQ(exitCode, code) << player;
    CloseHandle(pi.hThread), CloseHandle(pi.hProcess);
  }
}

}  // namespace
}  // namespace lumeno::test
