// The Practice window: opened from the settings dialog, its choices stored
// the moment they are made and shown again on the next opening; the history.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "base/ExecutablePath_win.h"
#include "exercise/Sound_win.h"
#include "persistence/PracticeHistory.h"
#include "windows/LumenoPractice.h"
#include "windows/WindowsTestSupport.h"

namespace lumeno::test {
namespace {

class TPracticeWindow : public TLumenoFixture {
 protected:
  // Opens the Practice window from the settings dialog, runs action in it, closes both.
  void WhileOpen(std::function<void(TFormPractice&)> action) {
    TLater::After(40, [this, action] {
      TLater::After(40, [this, action] {
        TFormPractice& practice = *Settings().FormPractice();
        action(practice);
        practice.CloseClick();
      });
      SendMessageW(Settings().ButtonPractice(), BM_CLICK, 0, 0);
      PostMessageW(Settings().Handle(), WM_CLOSE, 0, 0);
    });
    Settings().ShowModal();
  }
  static std::wstring Entry(HWND list, LRESULT i) {
    std::wstring text(static_cast<size_t>(SendMessageW(list, CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
    text.resize(static_cast<size_t>(SendMessageW(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()))));
    return text;
  }
  static std::wstring Selected(HWND list) { return Entry(list, SendMessageW(list, CB_GETCURSEL, 0, 0)); }
  static void Choose(TFormPractice& p, int id, int index) {
    HWND list = p.Control(id);
    SendMessageW(list, CB_SETCURSEL, index, 0);
    SendMessageW(p.Handle(), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
  }
};

// A folder whose name has letters outside the ANSI code page, with a user's
// own sounds (copies of in.wav and ex.wav); removed afterwards.
struct TOwnFolder {
  TOwnFolder() {
    wchar_t temp[MAX_PATH + 1] = {};
    Path = std::wstring(temp, GetTempPathW(MAX_PATH + 1, temp)) + L"Zażółć gęślą jaźń\\";
    CreateDirectoryW(Path.c_str(), nullptr);
    CopyFileW((ExecutableDirectory() + L"in.wav").c_str(), (Path + L"wdech.wav").c_str(), FALSE);
    CopyFileW((ExecutableDirectory() + L"ex.wav").c_str(), (Path + L"wydech.wav").c_str(), FALSE);
  }
  ~TOwnFolder() { std::error_code ignored; std::filesystem::remove_all(Path, ignored); }
  std::wstring Path;
};

// A path as the registry keeps REG_SZ text.
TStoredValue WideText(const std::wstring& text) {
  TStoredValue value{kTypeSz, {}};
  for (wchar_t c : text) value.data.insert(value.data.end(), {static_cast<uint8_t>(c), static_cast<uint8_t>(c >> 8)});
  value.data.insert(value.data.end(), {0, 0});
  return value;
}

struct TFakeVolume final : ISessionVolume {
  bool Connect() override { return Session; }
  std::optional<int> Percent() override { return Session ? std::optional<int>(Level) : std::nullopt; }
  bool SetPercent(int percent) override {
    Level = percent;
    return Session;
  }
  bool Session = true;
  int Level = 45;
};

TEST_F(TPracticeWindow, ChoicesApplyAndAreStoredAtOnceAndShowOnTheNextOpening) {
  TOwnFolder own;
  StoreSettings(30, 60, 5, 5, false, true, true);
  TFakeSeeder("Software\\Quorvale\\Lumeno").Put("Session Minutes", Dword(7));
  TFakeVolume volume;
  std::vector<std::wstring> offered{own.Path + L"wdech.wav", own.Path + L"brak.wav"};
  Adjust = [&](TLumenoServices& services) {
    services.Volume = &volume;
    services.ChooseSoundFile = [&offered](HWND, const wchar_t*, std::wstring& path) {
      path = offered.front();
      offered.erase(offered.begin());
      return true;
    };
  };
  Start();
  HWND owner = nullptr;
  WhileOpen([&](TFormPractice& p) {
    owner = GetWindow(p.Handle(), GW_OWNER);
    HWND list = p.Control(IDC_SESSION);
    EXPECT_EQ(Selected(list), L"7 minutes");
    std::wstring entries;
    for (LRESULT i = 0; i < SendMessageW(list, CB_GETCOUNT, 0, 0); ++i) entries += Entry(list, i) + L"|";
    EXPECT_EQ(entries,
              L"No end|3 minutes|5 minutes|7 minutes|10 minutes|15 minutes|20 minutes|30 minutes|45 minutes|60 minutes|");
    Choose(p, IDC_SESSION, 5);
    EXPECT_EQ(Stored("Session Minutes"), Dword(15));
    EXPECT_EQ(Main().Session().LengthMinutes(), 15);
    SendMessageW(p.Control(IDC_ENDBELL), BM_CLICK, 0, 0);
    EXPECT_EQ(Stored("End Bell"), Dword(0));
    Choose(p, IDC_COLOURS, 2);
    EXPECT_EQ(Stored("Colour Scheme"), Dword(2));
    EXPECT_EQ(Main().Colours().Name, std::string("Ocean"));
    Choose(p, IDC_SOUNDS, 3);
    EXPECT_EQ(Stored("Sound Set"), Dword(3));
    EXPECT_EQ(Stored("Sound In File"), WideText(own.Path + L"wdech.wav"));
    // The slider and the session's volume follow each other.
    HWND slider = p.Control(IDC_VOLUME);
    EXPECT_EQ(SendMessageW(slider, TBM_GETPOS, 0, 0), 45);
    SendMessageW(slider, WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(volume.Level, 46);
    volume.Session = false;  // the device went away
    SendMessageW(p.Handle(), WM_TIMER, IDC_VOLUME, 0);
    EXPECT_FALSE(IsWindowEnabled(slider));
    EXPECT_EQ(TextOf(p.Control(IDC_SOUND_STATUS)) + L"|" + TextOf(p.Control(IDC_VOLUME_STATUS)),
              L"Cannot play brak.wav|No audio device: the volume cannot be set.");
    volume.Session = true, volume.Level = 70;  // back, and changed in the system's mixer
    SendMessageW(p.Handle(), WM_TIMER, IDC_VOLUME, 0);
    EXPECT_EQ(SendMessageW(slider, TBM_GETPOS, 0, 0), 70);
    EXPECT_EQ(TextOf(p.Control(IDC_VOLUME_FIGURE)), L"70%");
  });
  EXPECT_EQ(owner, Settings().Handle());
  // A poll that finds the window hidden stops; the next opening polls again.
  SendMessageW(Settings().FormPractice()->Handle(), WM_TIMER, IDC_VOLUME, 0);
  WhileOpen([&](TFormPractice& p) {
    EXPECT_EQ(Selected(p.Control(IDC_SESSION)), L"15 minutes");
    EXPECT_EQ(SendMessageW(p.Control(IDC_ENDBELL), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(Selected(p.Control(IDC_COLOURS)), L"Ocean");
    EXPECT_TRUE(KillTimer(p.Handle(), IDC_VOLUME));
  });
  // The seven settings' save writes the practice values with them.
  TFakeSeeder("Software\\Quorvale\\Lumeno").Put("Session Minutes", Dword(3));
  Settings().zapiszRejestr();
  EXPECT_EQ(Stored("Session Minutes"), Dword(15));
}

// What the system's player is handed (through its seam) over one breath:
// flags and path ($ the executable's folder, % the own folder) or "0 stop".
TEST_F(TPracticeWindow, EachSetsFilesAndCueReachThePlayer) {
  const struct {
    const char* What;
    int32_t Set;
    bool Cue;
    const wchar_t* OwnOut;  // the own out-sound's name
    const wchar_t* Calls;
  } cases[] = {
      {"soft tones as always", 0, false, L"wydech.wav", L"27 $in.wav|0 stop|27 $ex.wav|0 stop|27 $in.wav|"},
      {"a set past the last one", 4, true, L"wydech.wav",
       L"27 $in.wav|0 stop|3 $sounds\\tones-cue.wav|0 stop|27 $ex.wav|0 stop|3 $sounds\\tones-cue.wav|0 stop|"
       L"27 $in.wav|"},
      {"own files with the cue", 3, true, L"wydech.wav",
       L"27 %wdech.wav|0 stop|3 $sounds\\tones-cue.wav|0 stop|27 %wydech.wav|0 stop|"
       L"3 $sounds\\tones-cue.wav|0 stop|27 %wdech.wav|"},
      {"an own file that is missing", 3, false, L"brak.wav", L"27 %wdech.wav|0 stop|0 stop|27 %wdech.wav|"}};
  TOwnFolder own;
  std::wstring played;
  TWaveSound player([&played](const wchar_t* sound, unsigned flags) {
    played += std::to_wstring(flags) + L" " + (sound ? sound : L"stop") + L"|";
    return true;
  });
  Adjust = [&player](TLumenoServices& services) { services.Sound = &player; };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.What);
    StoreSettings(30, 60, 5, 5, false, true, true);
    TFakeSeeder seeder("Software\\Quorvale\\Lumeno");
    seeder.Put("Sound Set", Dword(c.Set));
    seeder.Put("Pause Cue", Dword(c.Cue ? 1 : 0));
    seeder.Put("Sound In File", WideText(own.Path + L"wdech.wav"));
    seeder.Put("Sound Out File", WideText(own.Path + c.OwnOut));
    played.clear();
    Clock.Now = 0;
    Start();
    for (int64_t at : {3000, 3500, 9500, 10000}) {
      Clock.Now = at;
      SendMessageW(Main().Handle(), WM_TIMER, TFormLumeno::kTimerBreatchId, 0);
    }
    const std::wstring breath = played;
    Program.reset();  // before the player it plays through goes
    std::wstring expected;
    for (const wchar_t* ch = c.Calls; *ch; ++ch)
      expected += *ch == L'$' ? ExecutableDirectory() : *ch == L'%' ? own.Path : std::wstring(1, *ch);
    EXPECT_EQ(breath, expected);
  }
}

// A prepared history file draws its bars, reads as a summary and says what
// could not be read or waits; a practice ending while the window is open shows at once.
TEST_F(TPracticeWindow, APreparedHistoryDrawsItsBarsAndReadsAsASummary) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("lumeno-history-" + std::to_string(GetCurrentProcessId()));
  std::filesystem::create_directory(folder);
  Adjust = [&](TLumenoServices& services) { services.PracticeFolder = folder.wstring(); };
  Start();  // nothing is read before the window opens
  const TLocalTime now = Main().LocalNow();
  auto line = [&](int daysAgo, int minutes) {
    return FormatPracticeLine({(DayOf(now.LocalSeconds) - daysAgo) * 86400 + 60, now.UtcOffsetMinutes, minutes * 60000});
  };
  std::ofstream(folder / "practice.csv", std::ios::binary)
      << kPracticeHeader << "\r\n" << line(30, 40) << line(29, 20) << "not a practice\r\n" << line(1, 20) << line(0, 10);
  std::ofstream(folder / "practice-pending.csv", std::ios::binary) << line(3, 5);

  std::vector<int> bars;
  WhileOpen([&](TFormPractice& p) {
    HWND chart = p.Control(IDC_HISTORY_CHART);
    UpdateWindow(chart);
    RECT client{};
    GetClientRect(chart, &client);
    const std::vector<COLORREF> pixels = ClientPixels(chart);
    // Each bar's height, left to right: the highlight's pixels in a column.
    for (int x = 0, previous = 0; x < client.right; ++x) {
      int height = 0;
      for (int y = 0; y < client.bottom; ++y) height += pixels[y * client.right + x] == GetSysColor(COLOR_HIGHLIGHT);
      if (height > 0 && previous == 0) bars.push_back(height);
      previous = height;
    }
    EXPECT_EQ(TAccessibleOf(chart).Role(), ROLE_SYSTEM_CHART);
    EXPECT_EQ(TAccessibleOf(chart).Name(),
              L"Last 30 days: 4 days practised, 55 minutes; today 10 minutes; run of 2 days");
    EXPECT_EQ(TextOf(p.Control(IDC_HISTORY_DAMAGED)), L"1 line could not be read");
    EXPECT_EQ(TextOf(p.Control(IDC_HISTORY_WAITING)), L"1 practice waiting to be written");
    // Written with the pending line, and shown while the window is open.
    Main().Journal().PracticeEnded({now.LocalSeconds - 120, now.UtcOffsetMinutes, 90000});
    EXPECT_EQ(TextOf(p.Control(IDC_HISTORY_FIGURES + 1)), L"12 minutes");
  });

  // 29 days ago, 3 days ago (still pending), yesterday and today; 30 days ago is off the chart.
  ASSERT_EQ(bars.size(), 4u);
  EXPECT_EQ(bars[0], bars[2]);
  EXPECT_NEAR(bars[1] * 4, bars[0], 2);
  EXPECT_NEAR(bars[3] * 2, bars[0], 1);
  EXPECT_FALSE(std::filesystem::exists(folder / "practice-pending.csv"));
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace lumeno::test
