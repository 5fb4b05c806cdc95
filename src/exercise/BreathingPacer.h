// The four-phase pacer: rises the bar while breathing in, holds it full, lowers
// it while breathing out, holds it empty; starts and stops the looping sounds.
// Everything platform-bound sits behind the small interfaces below.
#pragma once

#include <cstdint>

#include "exercise/BreathingPattern.h"
#include "exercise/SoundSets.h"

namespace lumeno {

// The high-resolution counter.
class IClock {
 public:
  virtual ~IClock() = default;
  virtual int64_t Counter() = 0;
  virtual int64_t Frequency() = 0;
};

// A GUI timer of the window that hosts the pacer.
class ITimer {
 public:
  virtual ~ITimer() = default;
  // Milliseconds, at least 1. Setting the current interval again changes nothing;
  // a different one restarts the countdown.
  virtual void SetInterval(uint32_t milliseconds) = 0;
  virtual void SetEnabled(bool enabled) = 0;
};

// What the pacer needs of the bar. A Position write equal to the current value,
// above Max or below Min is ignored by the bar itself.
class IPacerBar {
 public:
  virtual ~IPacerBar() = default;
  virtual int32_t GetMax() const = 0;
  virtual void SetMax(int32_t value) = 0;
  virtual int32_t GetPosition() const = 0;
  virtual void SetPosition(int32_t value) = 0;
  // The pacer has entered phase tag (see TBreathingPacer::Tag): once per
  // phase, never on an ordinary tick.
  virtual void PhaseChanged(int32_t /*tag*/) {}
};

// Looping breathing sounds: a name is looked up in the executable's folder,
// a full path (UTF-8) is taken as it is.
class ISound {
 public:
  virtual ~ISound() = default;
  virtual void Start(const char* fileName) = 0;  // "in.wav", "ex.wav", ...
  virtual void Stop() = 0;
  // Plays a short sound once, not looping (the end bell); a sound that
  // loops stops.
  virtual void PlayOnce(const char* fileName) { (void)fileName; }
};

// The settings dialog, read afresh at every phase boundary.
class IPatternSource {
 public:
  virtual ~IPatternSource() = default;
  virtual const TBreathingPattern& Pattern() const = 0;
  virtual bool SoundsEnabled() const = 0;
  // The chosen sounds and the pause cue; the default set without a cue
  // unless the source says otherwise.
  virtual const TBreathSounds& Sounds() const {
    static const TBreathSounds defaults;
    return defaults;
  }
};

// Told when an exhale ends, the bar having come down empty.
class IExhaleListener {
 public:
  virtual ~IExhaleListener() = default;
  // counter: the reading that ended the exhale. True stops the breathing here.
  virtual bool ExhaleEnded(int64_t counter) = 0;
  // The breathing has stopped after ExhaleEnded said so: timer off, loop stopped.
  virtual void BreathingEnded() = 0;
};

// Milliseconds in a span of counter ticks, rounded exactly; a frequency that
// is not positive times nothing (INT64_MAX).
int64_t CountsToMs(uint64_t ticks, int64_t frequency);

class TBreathingPacer {
 public:
  TBreathingPacer(IClock& clock, ITimer& timer, IPacerBar& bar, ISound& sound);

  // The settings dialog is created after the main window; it is attached then.
  void SetPatternSource(IPatternSource* source) { source_ = source; }

  // Main window creation: frequency, then the start count.
  void FormCreate();
  // Settings dialog creation: Max for the first inhale, timer on, the inhale's sound.
  void Start();
  // One timer tick. Phase lengths become Max and pause intervals as tenths x 100
  // wrapped to 32 bits; a pause that comes out at 0 ms or less lasts 1 ms.
  // Does nothing while paused or ended.
  void TimerBreatchTimer();

  // Told at the end of every exhale (null: nobody, and nothing ever ends).
  void SetExhaleListener(IExhaleListener* listener) { listener_ = listener; }
  // Holds the breathing where it is: the bar stays, the timer and the looping
  // sound stop, and the phase keeps the time it has run.
  void Pause();
  // Goes on from where Pause held it: a moving phase from its position (its
  // sound starts again), a pause for what was left of it.
  void Resume();
  // After an end: a fresh cycle from the inhale, as at start-up.
  void Restart();
  bool Ended() const { return run_ == TRun::Ended; }
  // The pattern the phases are read from.
  const TBreathingPattern& Pattern() const { return Source().Pattern(); }

  // Current phase: 0 inhale, 1 pause after it, 2 exhale, anything else the pause after it.
  int32_t Tag = 0;
  int64_t FStartCount = 0;
  int64_t FNowCount = 0;
  int64_t FFrequency = 0;

 private:
  // The attached settings dialog, or the default pattern with sounds off.
  const IPatternSource& Source() const;
  // Reads the counter into FNowCount; milliseconds since FStartCount.
  int64_t ElapsedMs();
  // A pause of tenths begins: its interval, the loop stopped, the cue.
  void BeginPause(const IPatternSource& source, int32_t tenths);
  // A moving phase begins: its loop, if the sounds are on.
  void StartLoop(const IPatternSource& source, const std::string& fileName);

  IClock& clock_;
  ITimer& timer_;
  IPacerBar& bar_;
  ISound& sound_;
  IPatternSource* source_ = nullptr;
  IExhaleListener* listener_ = nullptr;

  enum class TRun : uint8_t { Running, Paused, Ended };
  TRun run_ = TRun::Running;
  int64_t pausedAt_ = 0;
  // The running pause phase: when it began and its length, so that a pause
  // of it can be resumed for what is left.
  int64_t holdStart_ = 0;
  uint32_t holdMs_ = 1;
  // A cue was played in the pause now ending; it may still sound.
  bool cuePlayed_ = false;
};

}  // namespace lumeno
