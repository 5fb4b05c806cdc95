#include "persistence/RegControls.h"

#include <utility>

#include "base/DpiScale.h"

namespace lumeno {

namespace {

constexpr const char* kLeft = "RCLeft";
constexpr const char* kTop = "RCTop";
constexpr const char* kWidth = "RCWidth";
constexpr const char* kHeight = "RCHeight";
constexpr const char* kWindowState = "RCWindowState";
constexpr const char* kZOrder = "ZOrder";
// Written after the six, which keep their meaning for copies that know only them.
constexpr const char* kDpi = "RCDpi";
// A stored DPI outside half to ten times the design's is taken as unreadable.
constexpr int32_t kLowestDpi = 48;
constexpr int32_t kHighestDpi = 960;

constexpr uint8_t kNormal = static_cast<uint8_t>(TWindowState::wsNormal);
constexpr uint8_t kMaximized = static_cast<uint8_t>(TWindowState::wsMaximized);

// An empty path (or only backslashes) is the root itself.
bool NamesRoot(const std::string& path) { return path.find_first_not_of('\\') == std::string::npos; }

std::unique_ptr<IRegistry> NewRegistry(TRegistryFactory makeRegistry) {
  return makeRegistry != nullptr ? makeRegistry() : nullptr;
}

}  // namespace

TRegForm::TRegForm(IPlacementWindow& owner, TRegistryFactory makeRegistry)
    : FOwnerForm(&owner), makeRegistry_(makeRegistry), FSelf(std::make_shared<TRegForm*>(this)) {
  FPrevCloseQuery = owner.OnCloseQuery();
  // The window may outlive us; the handler then only keeps the chain going.
  owner.OnCloseQuery() = [self = FSelf, previous = FPrevCloseQuery](void* sender, bool& canClose) {
    if (*self != nullptr) {
      (*self)->OwnerCloseQuery(sender, canClose);
    } else if (previous) {
      previous(sender, canClose);
    }
  };
  RegEnabled = true;
  SetRegKey("\\Software\\Default");
}

TRegForm::~TRegForm() { *FSelf = nullptr; }

void TRegForm::SetRegKey(const std::string& value) {
  if (value.empty() || value == FRegKey) return;
  std::string key = value;
  if (key.back() == '\\') key.pop_back();
  FRegKey = std::move(key);
}

void TRegForm::SetZOrder(uint8_t value) {
  const TRegFormZOrder order = value != 0 ? TRegFormZOrder::zoTopmost : TRegFormZOrder::zoNormal;
  if (order == FZOrder) return;
  FOwnerForm->ApplyZOrder(order == TRegFormZOrder::zoTopmost);
  FZOrder = order;
}

void TRegForm::SetRegLocation(TRegLocation value) {
  if (value == FRegLocation) return;
  FRegLocation = value;
  if (FOwnerForm->Loading()) return;
  // Move the placement: wipe the key under both roots, write it under the new one.
  try {
    std::unique_ptr<IRegistry> registry = NewRegistry(makeRegistry_);
    if (!registry) return;
    // Deleting "the root" would wipe a whole hive.
    if (!NamesRoot(FRegKey)) {
      registry->SetRoot(TRegLocation::CurrentUser);
      registry->DeleteKey(FRegKey);
      registry->SetRoot(TRegLocation::LocalMachine);
      registry->DeleteKey(FRegKey);
    }
    registry->SetRoot(value);
    registry->OpenKey(FRegKey, true);
    WritePlacement(*registry);
    registry->CloseKey();
  } catch (...) {
  }
}

void TRegForm::LoadPlacement() {
  if (!RegEnabled) return;
  try {
    std::unique_ptr<IRegistry> registry = NewRegistry(makeRegistry_);
    if (!registry) return;
    registry->SetRoot(FRegLocation);
    // A missing key leaves nothing open; every read below then finds nothing.
    registry->OpenKey(FRegKey, false);
    ReadPlacement(*registry);
    registry->CloseKey();
  } catch (...) {
  }
}

bool TRegForm::ReadPlacement(IRegistry& registry) {
  uint8_t state = kNormal;
  size_t bytesRead = 0;
  if (!registry.ReadBinary(kWindowState, &state, 1, bytesRead)) return false;
  // No state stored: the window keeps its designed state, the bounds still apply.
  if (bytesRead == 1) {
    // A state we never write counts as normal rather than reaching the window.
    if (state > kMaximized) state = kNormal;
    FOwnerForm->SetWindowState(state);
    // A maximised window keeps its designed bounds for when it is restored.
    if (state == kMaximized) return true;
  }
  int32_t value = 0;
  if (!registry.ReadInteger(kLeft, value)) return false;
  FOwnerForm->SetLeft(value);
  if (!registry.ReadInteger(kTop, value)) return false;
  FOwnerForm->SetTop(value);
  // Read after the top-left is applied: the window is then on the monitor
  // (and at the DPI) the size is for. Missing or unreadable: sizes as stored.
  int32_t savedDpi = 0;
  if (!registry.ReadInteger(kDpi, savedDpi) || savedDpi < kLowestDpi || savedDpi > kHighestDpi) savedDpi = 0;
  auto scaled = [&](int32_t size) { return savedDpi ? ScaleBetweenDpi(size, savedDpi, FOwnerForm->GetDpi()) : size; };
  if (!registry.ReadInteger(kWidth, value)) return false;
  FOwnerForm->SetWidth(scaled(value));
  if (!registry.ReadInteger(kHeight, value)) return false;
  FOwnerForm->SetHeight(scaled(value));
  if (!registry.ReadInteger(kZOrder, value)) return false;
  SetZOrder(static_cast<uint8_t>(static_cast<uint32_t>(value) & 0xFFu));
  return true;
}

void TRegForm::OwnerCloseQuery(void* sender, bool& canClose) {
  if (FPrevCloseQuery) FPrevCloseQuery(sender, canClose);
  if (RegEnabled && canClose && FOwnerForm->HandleAllocated()) SavePlacement();
}

void TRegForm::SavePlacement() {
  try {
    std::unique_ptr<IRegistry> registry = NewRegistry(makeRegistry_);
    if (!registry) return;
    registry->SetRoot(FRegLocation);
    registry->OpenKey(FRegKey, true);
    WritePlacement(*registry);
    registry->CloseKey();
  } catch (...) {
  }
}

bool TRegForm::WritePlacement(IRegistry& registry) {
  if (FOwnerForm == nullptr) return true;
  const uint8_t state = FOwnerForm->GetWindowState();
  return registry.WriteInteger(kLeft, FOwnerForm->GetLeft()) && registry.WriteInteger(kTop, FOwnerForm->GetTop()) &&
         registry.WriteInteger(kWidth, FOwnerForm->GetWidth()) &&
         registry.WriteInteger(kHeight, FOwnerForm->GetHeight()) && registry.WriteBinary(kWindowState, &state, 1) &&
         registry.WriteInteger(kZOrder, static_cast<int32_t>(FZOrder)) &&
         registry.WriteInteger(kDpi, FOwnerForm->GetDpi());
}

}  // namespace lumeno
