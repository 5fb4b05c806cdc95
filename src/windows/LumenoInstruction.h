// TFormInstruction, the instruction window: the help text in a rich-text box
// framed by a 21-pixel border of the window's colour. Created once, hidden,
// shown modally; it has no handlers or operations of its own. The rich-text
// box, and the library behind it, come with the first showing (or the first
// call to RichEdit1): nobody sees them before, and loading them is a good part
// of start-up under Wine.
#pragma once

#include <windows.h>

#include "windows/Form.h"

namespace lumeno {

class TFormLumeno;

enum : int { IDC_RICHEDIT1 = 500 };

class TFormInstruction final : public TForm {
 public:
  static constexpr int kClientWidth = 379;
  static constexpr int kClientHeight = 268;
  // The frame between the window's edge and the client area.
  static constexpr int kBorderWidth = 21;

  explicit TFormInstruction(TFormLumeno& main);
  ~TFormInstruction() override { DestroyForm(); }

  // The help text box, created on first use.
  HWND RichEdit1() { return Ensured(FRichEdit1); }

 protected:
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
  // The rich-text box.
  void CreateLateControls() override;
  void DpiChanged() override;
  void ColoursChanged() override;

 private:
  void PaintBorder();
  // The box over the whole client area.
  void FitRichEdit();
  // The help text in "MS Serif", 16 design pixels high.
  void SetHelpText();

  HWND FRichEdit1 = nullptr;
};

}  // namespace lumeno
