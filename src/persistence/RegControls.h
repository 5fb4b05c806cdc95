// TRegForm keeps a window's placement (bounds, state, z-order) in the registry:
// restored after the window is loaded, saved on every close query.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "persistence/Registry.h"

namespace lumeno {

enum class TWindowState : uint8_t { wsNormal = 0, wsMinimized = 1, wsMaximized = 2 };
enum class TRegFormZOrder : uint8_t { zoNormal = 0, zoTopmost = 1 };

// The window's close-query handler: may set canClose to false.
using TCloseQueryEvent = std::function<void(void* sender, bool& canClose)>;

// What the store needs of the window it serves.
class IPlacementWindow {
 public:
  virtual ~IPlacementWindow() = default;
  virtual int32_t GetLeft() const = 0;
  virtual int32_t GetTop() const = 0;
  virtual int32_t GetWidth() const = 0;
  virtual int32_t GetHeight() const = 0;
  virtual void SetLeft(int32_t) = 0;
  virtual void SetTop(int32_t) = 0;
  virtual void SetWidth(int32_t) = 0;
  virtual void SetHeight(int32_t) = 0;
  // The raw ordinal; before the first showing this only records the state.
  virtual uint8_t GetWindowState() const = 0;
  virtual void SetWindowState(uint8_t state) = 0;
  // True when the window's native handle exists (creating it on demand).
  virtual bool HandleAllocated() = 0;
  // SetWindowPos(HWND_TOPMOST or HWND_NOTOPMOST, 0, 0, 0, 0, 0x13).
  virtual void ApplyZOrder(bool topmost) = 0;
  // True while the window's description is being read.
  virtual bool Loading() const = 0;
  // The DPI the window is laid out for now.
  virtual int32_t GetDpi() const = 0;
  virtual TCloseQueryEvent& OnCloseQuery() = 0;
};

class TRegForm {
 public:
  // Hooks the owner's close query, chaining whatever handler it had.
  TRegForm(IPlacementWindow& owner, TRegistryFactory makeRegistry);
  // The handler stays installed on the owner; once the store is gone it only
  // forwards to the handler it chained.
  ~TRegForm();
  TRegForm(const TRegForm&) = delete;
  TRegForm& operator=(const TRegForm&) = delete;

  bool RegEnabled = true;
  TRegLocation GetRegLocation() const { return FRegLocation; }
  void SetRegLocation(TRegLocation value);
  const std::string& GetRegKey() const { return FRegKey; }
  void SetRegKey(const std::string& value);
  TRegFormZOrder GetZOrder() const { return FZOrder; }
  // Any non-zero value means top-most.
  void SetZOrder(uint8_t value);

  // The after-load step. Bounds are passed to the window as stored, without
  // clamping: the window decides how to keep itself reachable. A size saved
  // at another DPI ("RCDpi") is scaled to the window's; the top-left stays.
  void LoadPlacement();
  void OwnerCloseQuery(void* sender, bool& canClose);
  void SavePlacement();
  // Writes the six values, then the DPI they were taken at, into the key the
  // accessor has open; false at the first refusal.
  bool WritePlacement(IRegistry& registry);

 private:
  // Reads and applies the stored values; false at the first failed read.
  bool ReadPlacement(IRegistry& registry);

  IPlacementWindow* FOwnerForm;
  TCloseQueryEvent FPrevCloseQuery;
  TRegistryFactory makeRegistry_;
  TRegLocation FRegLocation = TRegLocation::CurrentUser;
  std::string FRegKey;
  TRegFormZOrder FZOrder = TRegFormZOrder::zoNormal;
  // Shared with the installed handler, cleared by the destructor.
  std::shared_ptr<TRegForm*> FSelf;
};

}  // namespace lumeno
