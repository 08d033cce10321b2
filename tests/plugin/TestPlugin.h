#pragma once

#include "plugin/AudioPlugin.h"

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

// Tells whether another thread can take a lock while the caller is at some point of interest.
// The probe thread stays blocked until the lock is free; Finish() must run after that.
class LockProbe {
public:
  ~LockProbe() { Finish(); }

  bool FreeForOtherThreads(IRecursiveLock& lock, std::chrono::milliseconds patience) {
    acquired = false;
    thread = std::thread([this, &lock] {
      lock.Enter();
      acquired = true;
      lock.Leave();
    });
    const auto deadline = std::chrono::steady_clock::now() + patience;
    while (!acquired && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return acquired;
  }

  void Finish() {
    if (thread.joinable()) {
      thread.join();
    }
  }

private:
  std::thread thread;
  std::atomic<bool> acquired{false};
};

// Records what the plug-in side asks of its editor.
class RecordingEditor : public IAttachedEditor {
public:
  struct Shown {
    int index;
    double value;
    bool normalized;
  };

  explicit RecordingEditor(std::vector<std::string>* log, bool* destroyed = nullptr)
      : log(log), destroyed(destroyed) {}
  ~RecordingEditor() override {
    if (destroyed) {
      *destroyed = true;
    }
  }

  void ShowParameterValue(int index, double value, bool normalized) override {
    shown.push_back({index, value, normalized});
    log->push_back("Show " + std::to_string(index));
  }
  void PrepareDrawing() override { log->push_back("PrepareDrawing"); }
  void* AttachWindow(void*) override { return nullptr; }
  void* OpenWindow(const INativeParent&) override { return nullptr; }
  void DetachWindow() override {}
  int Width() const override { return 560; }
  int Height() const override { return 400; }

  std::vector<Shown> shown;

private:
  std::vector<std::string>* log;
  bool* destroyed;
};

// A plug-in shaped like the effect (three parameters, "1-1 2-2", five slots) whose binding
// operations only record that they were called.
class TestPlugin : public IAudioPlugin {
public:
  explicit TestPlugin(const char* configText = "1-1 2-2", int presetCount = 5,
                      ::BindingKind kind = ::BindingKind::Vst2)
      : IAudioPlugin(3, configText, presetCount, "Ombrix", "", "Quillmarsh", 0x00010201, 0x49706566,
                     0, false, false, kind) {
    Parameter(0)->DefineContinuous("Amount of Distortion", 0.0, 0.0, 99.99, 0.01, "%");
    Parameter(2)->DefineInteger("#KELBA", 0);
    Parameter(1)->DefineInteger("#KELBA Enabled", 1);
  }

  void MakeFactoryPresets() {
    DefinePreset("Default", 0.0, 0, 0);
    DefinePreset("Kinda Clean", 20.0, 0, 0);
    DefinePreset("Dirty", 40.0, 0, 0);
    DefinePreset("Dirtier", 80.0, 0, 0);
    DefinePreset("Is it still music???", 99.99, 0, 0);
  }

  void SetValues(double amount, int enabled, int kelba) {
    Parameter(0)->SetClamped(amount);
    Parameter(1)->SetClamped(enabled);
    Parameter(2)->SetClamped(kelba);
  }

  void OnParameterChanged(int index) override {
    IAudioPlugin::OnParameterChanged(index);
    log.push_back("Changed " + std::to_string(index));
    if (changeProbeMs > 0) {
      lockFreeDuringChange =
          changeProbe.FreeForOtherThreads(pluginLock, std::chrono::milliseconds(changeProbeMs));
      changeProbeMs = 0;
    }
  }
  void OnHostPresetChange() override { log.push_back("PresetChange"); }

  void BeginHostEdit(int index) override { log.push_back("Begin " + std::to_string(index)); }
  void NotifyHostOfChange(int index, double normalized) override {
    log.push_back("Notify " + std::to_string(index) + " " + std::to_string(normalized));
    if (notifyProbeMs > 0) {
      lockFreeDuringNotify =
          notifyProbe.FreeForOtherThreads(pluginLock, std::chrono::milliseconds(notifyProbeMs));
      notifyProbeMs = 0;
    }
  }
  void EndHostEdit(int index) override { log.push_back("End " + std::to_string(index)); }
  void NotifyHostOfPresetChange() override { log.push_back("UpdateDisplay"); }
  int HostSamplePosition() override { return 0; }
  double HostTempo() override { return 0.0; }
  void HostTimeSignature(int* numerator, int* denominator) override {
    *numerator = 0;
    *denominator = 0;
  }
  void HostTransport(ITransportInfo*) override {}
  void EditorSizeChanged(int, int) override {}
  bool SendMidiEvent(const IMidiEvent* event) override {
    sentMidi.push_back(*event);
    return true;
  }

  std::vector<std::string> log;
  std::vector<IMidiEvent> sentMidi;
  // How long the next change or host notification waits to see another thread take the lock;
  // 0 = do not look. Each probe runs once.
  int changeProbeMs = 0;
  int notifyProbeMs = 0;
  bool lockFreeDuringChange = false;
  bool lockFreeDuringNotify = false;
  LockProbe changeProbe;
  LockProbe notifyProbe;
};
