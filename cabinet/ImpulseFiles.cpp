#include "cabinet/ImpulseFiles.h"

#include <algorithm>

#include "cabinet/Resampler.h"
#include "platform/Dialogs.h"
#include "platform/Files.h"

bool ImpulseFiles::OpenImpulseFile(const std::string& path) {
  const auto separator = path.find_last_of("/\\");
  if (separator == std::string::npos) return false;
  folder_ = path.substr(0, separator + 1);
  current_ = list_.Build(folder_, path.substr(separator + 1));
  if (current_ >= 0 && view_) view_->ShowFileName(list_.Name(current_));
  return LoadImpulseFile(path);
}

bool ImpulseFiles::StepImpulseFile(int delta) {
  if (list_.Count() == 0) return false;
  current_ = std::clamp(current_ + delta, 0, list_.Count() - 1);
  if (view_) view_->ShowFileName(list_.Name(current_));
  return LoadImpulseFile(folder_ + list_.FileName(current_));
}

bool ImpulseFiles::LoadImpulseFile(const std::string& path) {
  std::FILE* file = platform::OpenFile(path, "rb");
  if (!file) {
    platform::ShowMessage("File not found:\n" + path, "Error");
    return false;
  }
  WaveData wave;
  const bool read = ReadWaveFile(file, wave);
  std::fclose(file);
  if (!read || !Install(wave)) return false;
  raw_ = std::move(wave);
  loadedPath_ = path;
  return true;
}

bool ImpulseFiles::LoadImpulseBytes(const std::uint8_t* bytes, std::size_t size) {
  WaveData wave;
  if (!ReadWave(bytes, size, wave) || !Install(wave)) return false;
  raw_ = std::move(wave);
  return true;
}

bool ImpulseFiles::SetSampleRate(double hostRateHz) {
  if (!(hostRateHz > 0.0) || hostRateHz == hostRate_) return false;
  const double previous = hostRate_;
  hostRate_ = hostRateHz;
  if (raw_.firstChannel.empty()) return false;
  if (Install(raw_)) return true;
  hostRate_ = previous;
  return false;
}

bool ImpulseFiles::Install(const WaveData& wave) {
  std::vector<double> response;
  if (!Resample(wave.firstChannel, wave.sampleRate, hostRate_, response)) return false;
  impulse_.SetChannelCount(1);
  if (impulse_.SetLength(static_cast<int>(response.size())) != static_cast<int>(response.size()))
    return false;
  std::copy(response.begin(), response.end(), impulse_.Channel(0));
  gain_ = ResponseNormalisationGain(response);
  display_ = CurveSamplesOf(response);
  if (view_) view_->ShowResponse(display_);
  auto convolver = std::make_unique<PartitionedConvolver>();
  convolver->SetMaxBlockSize(maxBlock_);
  convolver->LoadImpulse(impulse_);
  sink_.InstallConvolver(std::move(convolver));
  return true;
}
