// The history in the Practice window: a prepared file draws the expected bars,
// the figures and what could not be read or waits, the chart reads as a
// summary, and a practice ending while the window is open shows at once.
#include <windows.h>
#include <oleacc.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "controls/Accessible_win.h"
#include "persistence/PracticeHistory.h"
#include "windows/LumenoPractice.h"
#include "windows/WindowsTestSupport.h"

namespace lumeno::test {
namespace {

// The chart's role and name as a screen reader gets them.
std::wstring ReadAloud(HWND hwnd) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  IAccessible* acc = nullptr;
  AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT), kIidIAccessible, reinterpret_cast<void**>(&acc));
  VARIANT self{}, role{};
  self.vt = VT_I4;
  BSTR name = nullptr;
  if (!acc || FAILED(acc->get_accRole(self, &role)) || FAILED(acc->get_accName(self, &name))) return L"<none>";
  std::wstring result = (role.lVal == ROLE_SYSTEM_CHART ? L"chart: " : L"? ") + std::wstring(name, SysStringLen(name));
  SysFreeString(name);
  acc->Release();
  return result;
}

class TPracticeHistoryView : public TLumenoFixture {};

TEST_F(TPracticeHistoryView, APreparedFileDrawsItsBarsAndReadsAsASummary) {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + L"lumeno-history-" + std::to_wstring(GetCurrentProcessId());
  CreateDirectoryW(folder.c_str(), nullptr);
  Adjust = [&](TLumenoServices& services) { services.PracticeFolder = folder; };
  Start();  // nothing is read before the window opens
  const TLocalTime now = Main().LocalNow();
  auto line = [&](int daysAgo, int minutes) {
    return FormatPracticeLine({(DayOf(now.LocalSeconds) - daysAgo) * 86400 + 60, now.UtcOffsetMinutes, minutes * 60000});
  };
  std::ofstream(std::filesystem::path(folder + L"\\practice.csv"), std::ios::binary)
      << kPracticeHeader << "\r\n" << line(30, 40) << line(29, 20) << "not a practice\r\n" << line(1, 20) << line(0, 10);
  std::ofstream(std::filesystem::path(folder + L"\\practice-pending.csv"), std::ios::binary) << line(3, 5);

  std::vector<int> bars;
  std::wstring summary, damaged, waiting, today;
  TLater::After(60, [&] {
    TFormPractice& p = *Settings().FormPractice();
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
    summary = ReadAloud(chart);
    damaged = TextOf(p.Control(IDC_HISTORY_DAMAGED));
    waiting = TextOf(p.Control(IDC_HISTORY_WAITING));
    Main().Journal().PracticeEnded({now.LocalSeconds - 120, now.UtcOffsetMinutes, 90000});
    today = TextOf(p.Control(IDC_HISTORY_FIGURES + 1));
    p.CloseClick();
  });
  Settings().ButtonPracticeClick();

  // 29 days ago, 3 days ago (still pending), yesterday and today; 30 days ago is off the chart.
  ASSERT_EQ(bars.size(), 4u);
  EXPECT_EQ(bars[0], bars[2]);
  EXPECT_NEAR(bars[1] * 4, bars[0], 2);
  EXPECT_NEAR(bars[3] * 2, bars[0], 1);
  EXPECT_EQ(summary, L"chart: Last 30 days: 4 days practised, 55 minutes; today 10 minutes; run of 2 days");
  EXPECT_EQ(damaged, L"1 line could not be read");
  EXPECT_EQ(waiting, L"1 practice waiting to be written");
  // Written with the pending line, and shown while the window was open.
  EXPECT_EQ(today, L"12 minutes");
  EXPECT_EQ(GetFileAttributesW((folder + L"\\practice-pending.csv").c_str()), INVALID_FILE_ATTRIBUTES);

  DeleteFileW((folder + L"\\practice.csv").c_str());
  RemoveDirectoryW(folder.c_str());
}

}  // namespace
}  // namespace lumeno::test
