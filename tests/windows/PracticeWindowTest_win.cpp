// The Practice window: opened from the settings dialog, its choices stored
// the moment they are made and shown again on the next opening.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "base/ExecutablePath_win.h"
#include "exercise/Sound_win.h"
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
  static std::wstring Selected(HWND list) {
    const LRESULT i = SendMessageW(list, CB_GETCURSEL, 0, 0);
    std::wstring text(static_cast<size_t>(SendMessageW(list, CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
    text.resize(static_cast<size_t>(SendMessageW(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()))));
    return text;
  }
  static void Choose(TFormPractice& p, int id, int index) {
    HWND list = p.Control(id);
    SendMessageW(list, CB_SETCURSEL, index, 0);
    SendMessageW(p.Handle(), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
  }
};

TEST_F(TPracticeWindow, ChoicesAreStoredAtOnceAndShownOnTheNextOpening) {
  StoreSettings(30, 60, 5, 5, false, true, true);
  TFakeSeeder("Software\\Quorvale\\Lumeno").Put("Session Minutes", Dword(7));
  Start();
  std::wstring first, entries;
  HWND owner = nullptr;
  WhileOpen([&](TFormPractice& p) {
    owner = GetWindow(p.Handle(), GW_OWNER);
    EXPECT_FALSE(IsWindowEnabled(Settings().Handle()));
    first = Selected(p.Control(IDC_SESSION));
    HWND list = p.Control(IDC_SESSION);
    for (LRESULT i = 0; i < SendMessageW(list, CB_GETCOUNT, 0, 0); ++i) {
      wchar_t text[32] = {};
      SendMessageW(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
      entries += std::wstring(text) + L"|";
    }
    Choose(p, IDC_SESSION, 5);  // after "No end", 3, 5, 7 (the stored one), 10
    EXPECT_EQ(Stored("Session Minutes"), Dword(15));
    EXPECT_EQ(Settings().Practice().SessionMinutes, 15);
    EXPECT_EQ(Main().Session().LengthMinutes(), 15);
    SendMessageW(p.Control(IDC_ENDBELL), BM_CLICK, 0, 0);
    EXPECT_EQ(Stored("End Bell"), Dword(0));
    Choose(p, IDC_COLOURS, 2);
    EXPECT_EQ(Stored("Colour Scheme"), Dword(2));
    EXPECT_EQ(Main().Colours().Name, std::string("Ocean"));
  });
  EXPECT_EQ(owner, Settings().Handle());
  EXPECT_EQ(first, L"7 minutes");
  EXPECT_EQ(entries,
            L"No end|3 minutes|5 minutes|7 minutes|10 minutes|15 minutes|20 minutes|30 minutes|45 minutes|60 minutes|");

  std::wstring again, colours;
  bool bell = true;
  WhileOpen([&](TFormPractice& p) {
    again = Selected(p.Control(IDC_SESSION));
    bell = SendMessageW(p.Control(IDC_ENDBELL), BM_GETCHECK, 0, 0) == BST_CHECKED;
    colours = Selected(p.Control(IDC_COLOURS));
  });
  EXPECT_EQ(again, L"15 minutes");
  EXPECT_EQ(colours, L"Ocean");
  EXPECT_FALSE(bell);
  // The seven settings' save writes the practice values with them.
  TFakeSeeder("Software\\Quorvale\\Lumeno").Put("Session Minutes", Dword(3));
  Settings().zapiszRejestr();
  EXPECT_EQ(Stored("Session Minutes"), Dword(15));
}

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
  ~TOwnFolder() {
    DeleteFileW((Path + L"wdech.wav").c_str());
    DeleteFileW((Path + L"wydech.wav").c_str());
    RemoveDirectoryW(Path.c_str());
  }
  std::wstring Path;
};

// A path as the registry keeps REG_SZ text.
TStoredValue WideText(const std::wstring& text) {
  TStoredValue value{kTypeSz, {}};
  for (wchar_t c : text) value.data.insert(value.data.end(), {static_cast<uint8_t>(c), static_cast<uint8_t>(c >> 8)});
  value.data.insert(value.data.end(), {0, 0});
  return value;
}

// The calls over one breath: flags and path ($ the executable's folder, % the
// own folder) or "0 stop", joined by "|".
struct TSetCase {
  const char* What;
  int32_t Set;
  bool Cue;
  const wchar_t* OwnOut;  // the own out-sound's name
  std::wstring Calls;
};

void PrintTo(const TSetCase& c, std::ostream* os) { *os << c.What; }

class TSoundSetCalls : public TPracticeWindow, public ::testing::WithParamInterface<TSetCase> {};

// What the system's player is handed (through its seam).
TEST_P(TSoundSetCalls, EachSetsFilesAndCueReachThePlayer) {
  const TSetCase& c = GetParam();
  TOwnFolder own;
  StoreSettings(30, 60, 5, 5, false, true, true);
  TFakeSeeder seeder("Software\\Quorvale\\Lumeno");
  seeder.Put("Sound Set", Dword(c.Set));
  seeder.Put("Pause Cue", Dword(c.Cue ? 1 : 0));
  seeder.Put("Sound In File", WideText(own.Path + L"wdech.wav"));
  seeder.Put("Sound Out File", WideText(own.Path + c.OwnOut));
  std::wstring played;
  TWaveSound player([&played](const wchar_t* sound, unsigned flags) {
    played += std::to_wstring(flags) + L" " + (sound ? sound : L"stop") + L"|";
    return true;
  });
  Adjust = [&player](TLumenoServices& services) { services.Sound = &player; };
  Start();
  for (int64_t at : {3000, 3500, 9500, 10000}) {
    Clock.Now = at;
    SendMessageW(Main().Handle(), WM_TIMER, TFormLumeno::kTimerBreatchId, 0);
  }
  std::wstring expected;
  for (wchar_t ch : c.Calls)
    expected += ch == L'$' ? ExecutableDirectory() : ch == L'%' ? own.Path : std::wstring(1, ch);
  EXPECT_EQ(played, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, TSoundSetCalls,
    ::testing::Values(
        TSetCase{"soft tones as always", 0, false, L"wydech.wav", L"27 $in.wav|0 stop|27 $ex.wav|0 stop|27 $in.wav|"},
        TSetCase{"a set past the last one", 4, true, L"wydech.wav",
                 L"27 $in.wav|0 stop|3 $sounds\\tones-cue.wav|0 stop|27 $ex.wav|0 stop|3 $sounds\\tones-cue.wav|0 stop|"
                 L"27 $in.wav|"},
        TSetCase{"the singing bowl with the cue", 1, true, L"wydech.wav",
                 L"27 $sounds\\bowl-in.wav|0 stop|3 $sounds\\bowl-cue.wav|0 stop|27 $sounds\\bowl-ex.wav|0 stop|"
                 L"3 $sounds\\bowl-cue.wav|0 stop|27 $sounds\\bowl-in.wav|"},
        TSetCase{"the surf", 2, false, L"wydech.wav",
                 L"27 $sounds\\surf-in.wav|0 stop|27 $sounds\\surf-ex.wav|0 stop|27 $sounds\\surf-in.wav|"},
        TSetCase{"own files with the cue", 3, true, L"wydech.wav",
                 L"27 %wdech.wav|0 stop|3 $sounds\\tones-cue.wav|0 stop|27 %wydech.wav|0 stop|"
                 L"3 $sounds\\tones-cue.wav|0 stop|27 %wdech.wav|"},
        TSetCase{"an own file that is missing", 3, false, L"brak.wav", L"27 %wdech.wav|0 stop|0 stop|27 %wdech.wav|"}));

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

TEST_F(TPracticeWindow, SoundRowsFollowTheSessionsVolumeAndNameAnOwnFileThatCannotPlay) {
  TOwnFolder own;
  StoreSettings(30, 60, 5, 5, false, true, true);
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
  std::wstring status;
  WhileOpen([&](TFormPractice& p) {
    HWND slider = p.Control(IDC_VOLUME);
    EXPECT_EQ(SendMessageW(slider, TBM_GETPOS, 0, 0), 45);
    SendMessageW(slider, WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(volume.Level, 46);
    volume.Level = 70;  // changed in the system's mixer
    SendMessageW(p.Handle(), WM_TIMER, IDC_VOLUME, 0);
    EXPECT_EQ(SendMessageW(slider, TBM_GETPOS, 0, 0), 70);
    EXPECT_EQ(TextOf(p.Control(IDC_VOLUME_FIGURE)), L"70%");
    Choose(p, IDC_SOUNDS, 3);
    volume.Session = false;  // the device went away
    SendMessageW(p.Handle(), WM_TIMER, IDC_VOLUME, 0);
    EXPECT_FALSE(IsWindowEnabled(slider));
    status = TextOf(p.Control(IDC_SOUND_STATUS)) + L"|" + TextOf(p.Control(IDC_VOLUME_STATUS));
  });
  EXPECT_EQ(Stored("Sound Set"), Dword(3));
  EXPECT_EQ(Stored("Sound In File"), WideText(own.Path + L"wdech.wav"));
  EXPECT_EQ(status, L"Cannot play brak.wav|No audio device: the volume cannot be set.");
}

}  // namespace
}  // namespace lumeno::test
