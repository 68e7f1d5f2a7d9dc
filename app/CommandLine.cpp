#include "app/CommandLine.h"

#include <cstdlib>
#include <functional>
#include <map>

#include "amp/PlayerParams.h"

namespace {

constexpr int kMaxProgram = 127;
constexpr size_t kMaxPortsPerSide = 2;

bool ParseWhole(const std::string& text, int min, int max, int& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  const long parsed = std::strtol(text.c_str(), &end, 10);
  if (*end != '\0' || parsed < min || parsed > max) return false;
  value = int(parsed);
  return true;
}

bool TakesStartSettings(Command command) {
  return command == Command::kPlay || command == Command::kRender || command == Command::kExportPreset;
}

// One option that takes a value: where it applies, and what it does with the value.
struct ValueOption {
  std::function<bool(Command)> appliesTo;
  std::function<bool(Options&, const std::string&, std::string&)> apply;
};

const std::map<std::string, ValueOption>& ValueOptions() {
  const auto play = [](Command c) { return c == Command::kPlay; };
  const auto start = TakesStartSettings;
  const auto stateful = [](Command c) { return c != Command::kPresets; };
  static const std::map<std::string, ValueOption> options{
      {"--preset", {start, [](Options& o, const std::string& v, std::string&) { o.start.preset = v; return true; }}},
      {"--program",
       {start,
        [](Options& o, const std::string& v, std::string& e) {
          if (ParseWhole(v, 0, kMaxProgram, o.start.program)) return true;
          e = "--program wants a number from 0 to 127, not \"" + v + "\"";
          return false;
        }}},
      {"--ir", {start, [](Options& o, const std::string& v, std::string&) { o.start.impulse = v; return true; }}},
      {"--set",
       {start, [](Options& o, const std::string& v, std::string&) { o.start.settings.push_back(v); return true; }}},
      {"--state", {stateful, [](Options& o, const std::string& v, std::string&) { o.statePath = v; return true; }}},
      {"--block",
       {[](Command c) { return c == Command::kRender; },
        [](Options& o, const std::string& v, std::string& e) {
          if (ParseWhole(v, 1, kMaxBlockSize, o.blockSize)) return true;
          e = "--block wants a number from 1 to " + std::to_string(kMaxBlockSize) + ", not \"" + v + "\"";
          return false;
        }}},
      {"--in", {play, [](Options& o, const std::string& v, std::string&) { o.inPorts.push_back(v); return true; }}},
      {"--out", {play, [](Options& o, const std::string& v, std::string&) { o.outPorts.push_back(v); return true; }}},
      {"--midi", {play, [](Options& o, const std::string& v, std::string&) { o.midiPorts.push_back(v); return true; }}},
  };
  return options;
}

bool ParseFlag(const std::string& arg, Options& options) {
  if (arg == "--headless" && options.command == Command::kPlay) options.headless = true;
  else if (arg == "--no-connect" && options.command == Command::kPlay) options.connect = false;
  else if (arg == "--help" || arg == "-h") options.command = Command::kHelp;
  else if (arg == "--version") options.command = Command::kVersion;
  else return false;
  return true;
}

Command CommandNamed(const std::string& word, bool& known) {
  known = true;
  if (word == "render") return Command::kRender;
  if (word == "presets") return Command::kPresets;
  if (word == "export-preset") return Command::kExportPreset;
  known = false;
  return Command::kPlay;
}

size_t FileArguments(Command command) {
  switch (command) {
    case Command::kRender: return 2;
    case Command::kExportPreset: return 1;
    default: return 0;
  }
}

}  // namespace

bool ParseCommandLine(const std::vector<std::string>& args, Options& options, std::string& error) {
  options = Options{};
  size_t next = 0;
  bool known = false;
  if (!args.empty()) {
    options.command = CommandNamed(args[0], known);
    if (known) next = 1;
  }
  std::vector<std::string> files;
  for (; next < args.size(); ++next) {
    const std::string& arg = args[next];
    const Command command = options.command;
    if (ParseFlag(arg, options)) {
      if (options.command == Command::kHelp || options.command == Command::kVersion) return true;
      continue;
    }
    const size_t equals = arg.find('=');
    const std::string name = arg.rfind("--", 0) == 0 ? arg.substr(0, equals) : arg;
    const auto option = ValueOptions().find(name);
    if (option != ValueOptions().end() && option->second.appliesTo(command)) {
      std::string value;
      if (equals != std::string::npos) {
        value = arg.substr(equals + 1);
      } else if (next + 1 < args.size()) {
        value = args[++next];
      } else {
        error = arg + " wants a value";
        return false;
      }
      if (!option->second.apply(options, value, error)) return false;
      continue;
    }
    if (arg.size() > 1 && arg[0] == '-') {
      error = "unknown option " + arg;
      return false;
    }
    files.push_back(arg);
  }
  if (files.size() != FileArguments(options.command)) {
    error = options.command == Command::kRender       ? "render wants IN and OUT files"
            : options.command == Command::kExportPreset ? "export-preset wants one FILE.vxf"
                                                        : "unexpected argument " + files.front();
    return false;
  }
  if (options.inPorts.size() > kMaxPortsPerSide || options.outPorts.size() > kMaxPortsPerSide) {
    error = "--in and --out name at most two ports each (channel 1, then channel 2)";
    return false;
  }
  if (options.command == Command::kRender) {
    options.input = files[0];
    options.output = files[1];
  } else if (options.command == Command::kExportPreset) {
    options.output = files[0];
  }
  return true;
}

std::string UsageText() {
  std::string text =
      "usage: voltrex [--headless] [--no-connect] [--in PORT]... [--out PORT]... [--midi PORT]...\n"
      "               [--state FILE] [START SETTINGS]\n"
      "       voltrex render IN OUT [--block N] [--state FILE] [START SETTINGS]\n"
      "       voltrex presets\n"
      "       voltrex export-preset FILE.vxf [--state FILE] [START SETTINGS]\n"
      "       voltrex --version | --help\n"
      "\n"
      "Plays the amp on JACK (or PipeWire's JACK) as client \"Voltrex\": the first physical\n"
      "capture port feeds input 1, the outputs go to the first two playback ports. --in and\n"
      "--out name other ports (first for channel 1, second for channel 2), --midi connects\n"
      "a MIDI source (default: the first physical one). The editor opens in its own window;\n"
      "closing it, Ctrl+C or SIGTERM quits. The amp's state is saved at quit and restored at\n"
      "start (--state FILE picks the file).\n"
      "\n"
      "render re-amps a recorded track (any format libsndfile reads, mono or stereo) into\n"
      "OUT: 32-bit float WAV, or the format OUT's extension names (.flac .aiff .ogg ...).\n"
      "It starts from the amp's defaults, or from --state FILE.\n"
      "\n"
      "START SETTINGS, applied in this order after the saved state:\n"
      "  --preset \"BANK/NAME\"   a preset as `voltrex presets` lists it\n"
      "  --program N            MIDI program N (0 to 127) of the current bank\n"
      "  --ir FILE              an impulse response, and the impulse stage on\n"
      "  --set NAME=VALUE       a parameter, by number or value name (model=\"Tube Creamer\")\n"
      "\n"
      "Parameters for --set:\n";
  for (const PlayerParam& row : PlayerParams()) text += "  " + std::string(row.symbol) + "  (" + row.name + ")\n";
  return text;
}
