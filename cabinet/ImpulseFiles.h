// The impulse-response files: the folder and its cabinet list, the current entry, and the
// loaded response. A load reads the WAVE file, keeps its first channel as read, resamples
// it to the host rate, computes the normalisation gain and the display samples, and
// prepares a convolver for it, which it hands to its sink. A later rate change prepares
// it again from memory.
//
// Runs in the parameter handler under the plug-in lock, never on the audio thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "cabinet/CabinetList.h"
#include "cabinet/ImpulseBuffer.h"
#include "cabinet/PartitionedConvolver.h"
#include "cabinet/ResponseCurve.h"
#include "cabinet/WaveReader.h"

// What the editor shows of the impulse files; the plug-in forwards these to its controls.
class ImpulseFileView {
 public:
  virtual void ShowFileName(const std::string& name) = 0;
  virtual void ShowResponse(const CurveSamples& samples) = 0;

 protected:
  ~ImpulseFileView() = default;
};

// Where a prepared convolver goes: the one that plays takes it over.
class ConvolverSink {
 public:
  virtual void InstallConvolver(std::unique_ptr<PartitionedConvolver> convolver) = 0;

 protected:
  ~ConvolverSink() = default;
};

class ImpulseFiles {
 public:
  static constexpr double kDefaultSampleRateHz = 44100.0;

  explicit ImpulseFiles(ConvolverSink& sink) : sink_(sink) {}
  void SetView(ImpulseFileView* view) { view_ = view; }
  // The largest block the convolvers it prepares must take without allocating.
  void SetMaxBlockSize(int frames) { maxBlock_ = frames; }

  // Makes the chosen file's folder the impulse folder, lists it, selects and loads the
  // file. Paths split at their last '/' or '\'; a path without either is ignored.
  bool OpenImpulseFile(const std::string& path);
  // Moves through the list by delta, clamped to its ends, and loads that entry. Does
  // nothing while the list is empty.
  bool StepImpulseFile(int delta);
  // Reads and installs one file. A file that cannot be opened shows "File not found:\n"
  // and the path; any other failure is silent. On failure nothing changes.
  bool LoadImpulseFile(const std::string& path);
  // The same from bytes already in memory (tests and fuzzing reach the reader this way).
  bool LoadImpulseBytes(const std::uint8_t* bytes, std::size_t size);

  // Sets the host rate; a response already loaded is resampled from the copy kept in
  // memory and installed again (no file access). True when it was reinstalled.
  bool SetSampleRate(double hostRateHz);

  double NormalisationGain() const { return gain_; }
  const std::string& Folder() const { return folder_; }
  const CabinetList& List() const { return list_; }
  int CurrentIndex() const { return current_; }
  const std::string& LoadedPath() const { return loadedPath_; }
  const CurveSamples& DisplaySamples() const { return display_; }
  int ResponseLength() const { return impulse_.Length(); }

 private:
  bool Install(const WaveData& wave);

  ConvolverSink& sink_;
  ImpulseFileView* view_ = nullptr;
  int maxBlock_ = PartitionedConvolver::kDefaultMaxBlock;
  std::string folder_;
  CabinetList list_;
  int current_ = -1;
  std::string loadedPath_;
  WaveData raw_;  // the first channel as read from the file, at the file's rate
  double hostRate_ = kDefaultSampleRateHz;
  double gain_ = 1.0;
  CurveSamples display_{};
  ImpulseBuffer impulse_;
};
