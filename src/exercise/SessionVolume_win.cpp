#include "exercise/SessionVolume_win.h"

#include <windows.h>
#include <audiopolicy.h>
#include <mmdeviceapi.h>

#include <cmath>

#include "base/SystemLibrary_win.h"

namespace lumeno {

namespace {

// ole32's entry points, from the system folder only; all null when it cannot be had.
struct TCom {
  decltype(&CoInitializeEx) Initialize = nullptr;
  decltype(&CoUninitialize) Uninitialize = nullptr;
  decltype(&CoCreateInstance) CreateInstance = nullptr;
};

const TCom& Com() {
  static const TCom com = [] {
    TCom loaded;
    const HMODULE ole32 = LoadSystemLibrary(L"ole32.dll");
    ResolveProc(ole32, "CoInitializeEx", loaded.Initialize);
    ResolveProc(ole32, "CoUninitialize", loaded.Uninitialize);
    ResolveProc(ole32, "CoCreateInstance", loaded.CreateInstance);
    return loaded.Initialize && loaded.Uninitialize && loaded.CreateInstance ? loaded : TCom{};
  }();
  return com;
}

template <typename T>
void ReleaseCom(T*& object) {
  if (object) object->Release();
  object = nullptr;
}

}  // namespace

TAudioSessionVolume::~TAudioSessionVolume() {
  Release();
  if (FComInitialized) Com().Uninitialize();
}

void TAudioSessionVolume::Release() { ReleaseCom(FVolume); }

bool TAudioSessionVolume::Connect() {
  Release();
  const TCom& com = Com();
  if (!com.CreateInstance) return false;
  if (!FComInitialized) {
    // Already initialised in another model on this thread is no obstacle.
    const HRESULT hr = com.Initialize(nullptr, COINIT_APARTMENTTHREADED);
    FComInitialized = SUCCEEDED(hr);
    if (FAILED(hr) && hr != RPC_E_CHANGED_MODE) return false;
  }
  IMMDeviceEnumerator* enumerator = nullptr;
  IMMDevice* device = nullptr;
  IAudioSessionManager* manager = nullptr;
  if (SUCCEEDED(com.CreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_INPROC_SERVER,
                                   __uuidof(IMMDeviceEnumerator), reinterpret_cast<void**>(&enumerator))) &&
      SUCCEEDED(enumerator->GetDefaultAudioEndpoint(eRender, eConsole, &device)) &&
      SUCCEEDED(device->Activate(__uuidof(IAudioSessionManager), CLSCTX_INPROC_SERVER, nullptr,
                                 reinterpret_cast<void**>(&manager)))) {
    // No session id: this process's default session, where its sounds play.
    if (FAILED(manager->GetSimpleAudioVolume(nullptr, FALSE, &FVolume))) FVolume = nullptr;
  }
  ReleaseCom(manager);
  ReleaseCom(device);
  ReleaseCom(enumerator);
  return FVolume != nullptr;
}

std::optional<int> TAudioSessionVolume::Percent() {
  float level = 0.0f;
  if (!FVolume || FAILED(FVolume->GetMasterVolume(&level)) || !(level >= 0.0f)) return std::nullopt;
  return static_cast<int>(std::lround(std::fmin(level, 1.0f) * 100.0f));
}

bool TAudioSessionVolume::SetPercent(int percent) {
  if (!FVolume || percent < 0 || percent > 100) return false;
  return SUCCEEDED(FVolume->SetMasterVolume(static_cast<float>(percent) / 100.0f, nullptr));
}

}  // namespace lumeno
