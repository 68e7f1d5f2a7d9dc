// vsthost: loads a VST 2.x plug-in binary and reports on it as a DAW's scanner would, or
// renders audio through it.
//   vsthost info PLUGIN    identity, channels, flags and every parameter with its display
//   vsthost render PLUGIN IN.wav OUT.wav [index=value ...]
//                          runs IN.wav through the plug-in at the file's rate with the given
//                          parameters (normalised values, 0 to 1, as a host automates them)
//                          and writes two channels of 32-bit float to OUT.wav
//   vsthost riff OUT.wav [RATE]
//                          writes a two-second synthetic guitar riff (mono, 48 kHz unless
//                          RATE is given) to render
//   vsthost presets PLUGIN lists the preset banks installed beside the plug-in binary,
//                          each preset with the program number that loads it
//   vsthost render-presets PLUGIN IN.wav OUTDIR [PROGRAM]
//                          renders IN.wav through program PROGRAM (0 unless given; the
//                          last one in a shorter bank) of every bank, loaded by bank
//                          selection and MIDI program change, into OUTDIR/<bank> - <preset>.wav
//                          (OUTDIR is created if needed), printing each rendering's RMS level,
//                          loudness (ITU-R BS.1770) and sample peak
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "amp/ParamIds.h"
#include "tools/vsthost/InstalledPresets.h"
#include "tools/vsthost/Loudness.h"
#include "tools/vsthost/PluginHost.h"
#include "tools/vsthost/Render.h"
#include "tools/vsthost/Riff.h"
#include "tools/vsthost/Stress.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: vsthost info PLUGIN\n"
               "       vsthost render PLUGIN IN.wav OUT.wav [index=value ...]  (values 0 to 1)\n"
               "       vsthost riff OUT.wav [RATE]\n"
               "       vsthost presets PLUGIN\n"
               "       vsthost render-presets PLUGIN IN.wav OUTDIR [PROGRAM]  (PROGRAM 0 to 127)\n");
  return 2;
}

std::string FourChars(int32_t id) {
  std::string text;
  for (int shift = 24; shift >= 0; shift -= 8) {
    const char c = char((id >> shift) & 0xFF);
    text += (c >= 32 && c < 127) ? c : '?';
  }
  return text;
}

int Info(const std::string& path) {
  std::string error;
  auto host = vsthost::PluginHost::Load(path, &error);
  if (!host) {
    std::fprintf(stderr, "vsthost: cannot load %s: %s\n", path.c_str(), error.c_str());
    return 1;
  }
  host->Dispatch(vst2::effOpen);
  const vst2::AEffect* e = host->Effect();
  std::printf("name:       %s\n", host->EffectName().c_str());
  std::printf("vendor:     %s\n", host->VendorString().c_str());
  std::printf("product:    %s\n", host->ProductString().c_str());
  std::printf("unique id:  0x%08x '%s'\n", unsigned(e->uniqueID), FourChars(e->uniqueID).c_str());
  std::printf("version:    %d\n", e->version);
  std::printf("inputs:     %d\n", e->numInputs);
  std::printf("outputs:    %d\n", e->numOutputs);
  std::printf("flags:      0x%x\n", unsigned(e->flags));
  std::printf("latency:    %d\n", e->initialDelay);
  std::printf("programs:   %d\n", e->numPrograms);
  std::printf("category:   %d\n", int(host->Dispatch(vst2::effGetPlugCategory)));
  std::printf("parameters: %d\n", e->numParams);
  for (int i = 0; i < e->numParams; ++i) {
    std::printf("  %3d  %-16s %s\n", i, host->ParamName(i).c_str(), host->ParamDisplay(i).c_str());
  }
  return 0;
}

// Writes the audio; says why on failure.
bool WriteOrSay(const std::string& path, const vsthost::WavAudio& audio) {
  std::string error;
  if (vsthost::WriteWavFloat(path, audio, &error)) return true;
  std::fprintf(stderr, "vsthost: cannot write %s: %s\n", path.c_str(), error.c_str());
  return false;
}

int RenderFile(const std::string& plugin, const std::string& inPath, const std::string& outPath,
               const std::vector<std::string>& settingTexts) {
  std::vector<vsthost::ParamSetting> settings;
  for (const std::string& text : settingTexts) {
    vsthost::ParamSetting setting;
    if (!vsthost::ParseParamSetting(text, setting)) {
      std::fprintf(stderr, "vsthost: not index=value with a value from 0 to 1: %s\n", text.c_str());
      return 2;
    }
    settings.push_back(setting);
  }
  std::string error;
  vsthost::WavAudio input;
  if (!vsthost::ReadWav(inPath, input, &error)) {
    std::fprintf(stderr, "vsthost: %s: %s\n", inPath.c_str(), error.c_str());
    return 1;
  }
  auto host = vsthost::PluginHost::Load(plugin, &error);
  if (!host) {
    std::fprintf(stderr, "vsthost: cannot load %s: %s\n", plugin.c_str(), error.c_str());
    return 1;
  }
  const int count = host->Effect()->numParams;
  for (const vsthost::ParamSetting& setting : settings) {
    if (setting.index >= count) {
      std::fprintf(stderr, "vsthost: no parameter %d: the plug-in has parameters 0 to %d\n", setting.index,
                   count - 1);
      return 2;
    }
  }
  return WriteOrSay(outPath, vsthost::Render(*host, input, settings)) ? 0 : 1;
}

int WriteRiff(const std::string& outPath, const char* rateText) {
  const double rate = rateText ? std::strtod(rateText, nullptr) : 48000.0;
  if (!(rate >= 8000.0 && rate <= 384000.0)) return Usage();
  return WriteOrSay(outPath, vsthost::SynthesiseRiff(rate)) ? 0 : 1;
}

int ListPresets(const std::string& plugin) {
  const std::vector<vsthost::PresetBank> banks = vsthost::ListInstalledPresets(plugin);
  if (banks.empty()) {
    std::fprintf(stderr, "vsthost: no preset banks beside %s\n", plugin.c_str());
    return 1;
  }
  for (size_t b = 0; b < banks.size(); ++b) {
    std::printf("bank %zu: %s (%zu presets)\n", b, banks[b].name.c_str(), banks[b].presets.size());
    for (size_t p = 0; p < banks[b].presets.size(); ++p) {
      std::printf("  %3zu  %s\n", p, banks[b].presets[p].c_str());
    }
  }
  return 0;
}

// One preset of each bank, each in a fresh instance, so no preset inherits another's state.
int RenderPresets(const std::string& plugin, const std::string& inPath, const std::string& outFolder,
                  const char* programText) {
  char* end = nullptr;
  const long program = programText ? std::strtol(programText, &end, 10) : 0;
  if (programText && (*end != '\0' || program < 0 || program > 127)) return Usage();
  std::string error;
  vsthost::WavAudio input;
  if (!vsthost::ReadWav(inPath, input, &error)) {
    std::fprintf(stderr, "vsthost: %s: %s\n", inPath.c_str(), error.c_str());
    return 1;
  }
  const std::vector<vsthost::PresetBank> banks = vsthost::ListInstalledPresets(plugin);
  if (banks.empty()) {
    std::fprintf(stderr, "vsthost: no preset banks beside %s\n", plugin.c_str());
    return 1;
  }
  std::error_code made;
  std::filesystem::create_directories(outFolder, made);
  if (made) {
    std::fprintf(stderr, "vsthost: cannot create %s: %s\n", outFolder.c_str(), made.message().c_str());
    return 1;
  }
  for (size_t b = 0; b < banks.size(); ++b) {
    if (banks[b].presets.empty()) continue;
    const int p = std::min(int(program), int(banks[b].presets.size()) - 1);
    auto host = vsthost::PluginHost::Load(plugin, &error);
    if (!host) {
      std::fprintf(stderr, "vsthost: cannot load %s: %s\n", plugin.c_str(), error.c_str());
      return 1;
    }
    host->SetProcessLevel(vst2::kProcessLevelOffline);
    host->Start(input.sampleRate);
    vsthost::LoadInstalledPreset(*host, int(b), int(banks.size()), p);
    const vsthost::WavAudio output = vsthost::Process(*host, input);
    const std::string outPath =
        (std::filesystem::path(outFolder) / (banks[b].name + " - " + banks[b].presets[size_t(p)] + ".wav")).string();
    if (!WriteOrSay(outPath, output)) return 1;
    std::printf("%s / %s: %s, %s, %.1f dB RMS, %.1f LUFS, peak %.1f dBFS -> %s\n", banks[b].name.c_str(),
                banks[b].presets[size_t(p)].c_str(), host->ParamDisplay(kDstPreset).c_str(),
                host->ParamDisplay(kCabPreset).c_str(), vsthost::RmsDb(output), vsthost::IntegratedLoudness(output),
                vsthost::SamplePeakDb(output), outPath.c_str());
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "info") == 0) return Info(argv[2]);
  if ((argc == 3 || argc == 4) && std::strcmp(argv[1], "riff") == 0) {
    return WriteRiff(argv[2], argc == 4 ? argv[3] : nullptr);
  }
  if (argc >= 5 && std::strcmp(argv[1], "render") == 0) {
    return RenderFile(argv[2], argv[3], argv[4], std::vector<std::string>(argv + 5, argv + argc));
  }
  if (argc == 3 && std::strcmp(argv[1], "presets") == 0) return ListPresets(argv[2]);
  if ((argc == 5 || argc == 6) && std::strcmp(argv[1], "render-presets") == 0) {
    return RenderPresets(argv[2], argv[3], argv[4], argc == 6 ? argv[5] : nullptr);
  }
  if (argc >= 3 && std::strcmp(argv[1], "stress") == 0) return vsthost::StressCommand(argc - 2, argv + 2);
  return Usage();
}
