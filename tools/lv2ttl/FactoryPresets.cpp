#include "tools/lv2ttl/FactoryPresets.h"

#include <sstream>

#include "amp/ParamIds.h"
#include "amp/PlayerParams.h"
#include "amp/VoltrexPlug.h"
#include "plugin/lv2/Lv2Ports.h"
#include "plugin/lv2/Lv2StateBytes.h"
#include "tools/lv2ttl/Turtle.h"

namespace lv2ttl {

namespace {

constexpr uint8_t kProgramChange = 0xC0;

FactoryPreset ReadBack(VoltrexPlug& amp, const std::string& dataFolder) {
  FactoryPreset preset;
  for (const PlayerParam& row : PlayerParams()) preset.portValues.push_back(float(amp.GetParam(row.id)->Value()));
  ByteChunk bytes;
  amp.SerializeState(bytes);
  bytes = lv2::WithImpulsePath(bytes, "");
  preset.state.assign(bytes.Data(), bytes.Data() + bytes.Size());
  preset.impulse = lv2::RelativeToDataFolder(amp.ImpulsePath(), dataFolder);
  return preset;
}

}  // namespace

std::vector<FactoryPreset> CollectFactoryPresets(VoltrexPlug& amp, const std::string& dataFolder) {
  std::vector<FactoryPreset> presets;
  PresetLibrary& library = amp.Presets();
  library.ListPresetBanksIn(dataFolder);
  const int banks = library.Banks().Count();
  for (int bank = 0; bank < banks; ++bank) {
    amp.SetParameterFromHost(kBankSelect, banks > 1 ? double(bank) / double(banks - 1) : 0.0);
    const std::string bankName = library.Banks().Name(bank);
    for (int program = 0; program < library.Presets().Count(); ++program) {
      const std::string name = library.Presets().Name(program);
      IMidiMsg msg;
      msg.status = kProgramChange;
      msg.data1 = uint8_t(program);
      amp.ProcessMidiMsg(msg);
      FactoryPreset preset = ReadBack(amp, dataFolder);
      preset.uri = std::string(lv2::kPresetUriPrefix) + IriPiece(bankName) + "/" + IriPiece(name);
      preset.label = bankName + ": " + name;
      presets.push_back(std::move(preset));
    }
  }
  return presets;
}

std::string PresetsTurtle(const std::vector<FactoryPreset>& presets) {
  std::ostringstream out;
  out << "@prefix atom: <http://lv2plug.in/ns/ext/atom#> .\n"
      << "@prefix lv2: <http://lv2plug.in/ns/lv2core#> .\n"
      << "@prefix pset: <http://lv2plug.in/ns/ext/presets#> .\n"
      << "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
      << "@prefix state: <http://lv2plug.in/ns/ext/state#> .\n"
      << "@prefix xsd: <http://www.w3.org/2001/XMLSchema#> .\n";
  for (const FactoryPreset& preset : presets) {
    out << "\n<" << preset.uri << ">\n"
        << "  a pset:Preset ;\n"
        << "  lv2:appliesTo <" << lv2::kPluginUri << "> ;\n"
        << "  rdfs:label " << Literal(preset.label) << " ;\n"
        << "  lv2:port";
    size_t port = 0;
    for (const PlayerParam& row : PlayerParams()) {
      out << (port ? " ,\n    " : "\n    ") << "[ lv2:symbol " << Literal(row.symbol)
          << " ; pset:value " << Decimal(preset.portValues[port]) << " ]";
      ++port;
    }
    out << " ;\n  state:state [\n"
        << "    <" << lv2::kStateVersionUri << "> " << lv2::kStateVersion << " ;\n"
        << "    <" << lv2::kStateChunkUri << "> \"" << Base64(preset.state) << "\"^^xsd:base64Binary";
    if (!preset.impulse.empty()) {
      out << " ;\n    <" << lv2::kStateImpulseUri << "> " << Literal(preset.impulse) << "^^atom:Path";
    }
    out << "\n  ] .\n";
  }
  return out.str();
}

}  // namespace lv2ttl
