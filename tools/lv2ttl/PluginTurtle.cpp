#include "tools/lv2ttl/PluginTurtle.h"

#include <cstdio>
#include <sstream>

#include "engine/Tuner.h"
#include "plugin/IEffectBase.h"
#include "amp/ParamIds.h"
#include "amp/PlayerParams.h"
#include "plugin/lv2/Lv2Ports.h"
#include "tools/lv2ttl/Turtle.h"

namespace lv2ttl {

namespace {

constexpr const char* kPrefixes =
    "@prefix atom: <http://lv2plug.in/ns/ext/atom#> .\n"
    "@prefix bufsz: <http://lv2plug.in/ns/ext/buf-size#> .\n"
    "@prefix doap: <http://usefulinc.com/ns/doap#> .\n"
    "@prefix foaf: <http://xmlns.com/foaf/0.1/> .\n"
    "@prefix lv2: <http://lv2plug.in/ns/lv2core#> .\n"
    "@prefix midi: <http://lv2plug.in/ns/ext/midi#> .\n"
    "@prefix opts: <http://lv2plug.in/ns/ext/options#> .\n"
    "@prefix param: <http://lv2plug.in/ns/ext/parameters#> .\n"
    "@prefix pset: <http://lv2plug.in/ns/ext/presets#> .\n"
    "@prefix rdf: <http://www.w3.org/1999/02/22-rdf-syntax-ns#> .\n"
    "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
    "@prefix state: <http://lv2plug.in/ns/ext/state#> .\n"
    "@prefix ui: <http://lv2plug.in/ns/extensions/ui#> .\n"
    "@prefix urid: <http://lv2plug.in/ns/ext/urid#> .\n"
    "@prefix work: <http://lv2plug.in/ns/ext/worker#> .\n"
    "@prefix xsd: <http://www.w3.org/2001/XMLSchema#> .\n\n";

std::string Iri(const char* uri) { return std::string("<") + uri + ">"; }

void AudioPort(std::ostream& out, int index, bool input, const char* symbol, const char* name) {
  out << "  [\n"
      << "    a lv2:AudioPort , " << (input ? "lv2:InputPort" : "lv2:OutputPort") << " ;\n"
      << "    lv2:index " << index << " ;\n"
      << "    lv2:symbol " << Literal(symbol) << " ;\n"
      << "    lv2:name " << Literal(name) << " ;\n"
      << "  ] ,\n";
}

void MidiPort(std::ostream& out) {
  out << "  [\n"
      << "    a atom:AtomPort , lv2:InputPort ;\n"
      << "    atom:bufferType atom:Sequence ;\n"
      << "    atom:supports midi:MidiEvent ;\n"
      << "    lv2:designation lv2:control ;\n"
      << "    lv2:portProperty lv2:connectionOptional ;\n"
      << "    lv2:index " << lv2::kMidiInput << " ;\n"
      << "    lv2:symbol \"midi_in\" ;\n"
      << "    lv2:name \"MIDI In\" ;\n"
      << "  ]";
}

// The name of an enumerated value: the parameter's display text, or for the tuning the
// tuner's own name of the mode.
std::string ValueName(const IParam& param, int id, int value) {
  if (id == kTuning) {
    const char* name = TuningName(value);
    return name ? name : "";
  }
  for (int i = 0; i < param.NDisplayTexts(); ++i) {
    int shown = 0;
    const char* text = param.DisplayTextAt(i, &shown);
    if (shown == value) return text;
  }
  return "";
}

bool IsSwitch(const IParam& param) {
  return param.Min() == 0.0 && param.Max() == 1.0 && param.Step() == 1.0;
}

bool IsEnumerated(const IParam& param) {
  return param.GetType() == IParam::Type::Int || param.GetType() == IParam::Type::Enum;
}

void ControlPort(std::ostream& out, int index, const PlayerParam& row, const IParam& param) {
  out << "  [\n"
      << "    a lv2:ControlPort , lv2:InputPort ;\n"
      << "    lv2:index " << index << " ;\n"
      << "    lv2:symbol " << Literal(row.symbol) << " ;\n"
      << "    lv2:name " << Literal(row.name) << " ;\n"
      << "    lv2:default " << Decimal(param.Value()) << " ;\n"
      << "    lv2:minimum " << Decimal(param.Min()) << " ;\n"
      << "    lv2:maximum " << Decimal(param.Max());
  if (IsEnumerated(param)) {
    out << " ;\n    lv2:portProperty lv2:integer , lv2:enumeration";
    for (int value = int(param.Min()); value <= int(param.Max()); ++value) {
      out << " ;\n    lv2:scalePoint [ rdfs:label " << Literal(ValueName(param, row.id, value))
          << " ; rdf:value " << value << " ]";
    }
  } else if (IsSwitch(param)) {
    out << " ;\n    lv2:portProperty lv2:toggled";
  }
  out << " ;\n  ]";
}

std::string VersionText(int version) {
  char text[16];
  std::snprintf(text, sizeof text, "%d.%d.%d", version >> 16, (version >> 8) & 0xff, version & 0xff);
  return text;
}

}  // namespace

int Lv2MinorVersion(int version) { return 2 * (100 * (version >> 16) + ((version >> 8) & 0xff)); }

int Lv2MicroVersion(int version) { return 2 * (version & 0xff); }

std::string ManifestTurtle(const BundleFiles& files, const std::vector<std::string>& presetUris) {
  std::ostringstream out;
  out << kPrefixes;
  out << Iri(lv2::kPluginUri) << "\n  a lv2:Plugin ;\n  lv2:binary <" << files.binary
      << "> ;\n  rdfs:seeAlso <" << files.plugin << "> .\n\n";
  out << Iri(lv2::kUiUri) << "\n  a ui:X11UI ;\n  ui:binary <" << files.binary
      << "> ;\n  rdfs:seeAlso <" << files.plugin << "> .\n";
  for (const std::string& uri : presetUris) {
    out << "\n<" << uri << ">\n  a pset:Preset ;\n  lv2:appliesTo " << Iri(lv2::kPluginUri)
        << " ;\n  rdfs:seeAlso <" << files.presets << "> .\n";
  }
  return out.str();
}

std::string PluginTurtle(const IEffectBase& amp, const Identity& identity) {
  std::ostringstream out;
  out << kPrefixes;
  out << Iri(lv2::kPluginUri) << "\n"
      << "  a lv2:Plugin , lv2:SimulatorPlugin , doap:Project ;\n"
      << "  doap:name " << Literal(identity.name) << " ;\n"
      << "  doap:maintainer [ a foaf:Person ; foaf:name " << Literal(identity.maker) << " ] ;\n"
      << "  doap:release [ doap:revision " << Literal(VersionText(identity.version)) << " ] ;\n"
      << "  lv2:minorVersion " << Lv2MinorVersion(identity.version) << " ;\n"
      << "  lv2:microVersion " << Lv2MicroVersion(identity.version) << " ;\n"
      << "  lv2:optionalFeature urid:map , opts:options , state:mapPath , state:freePath ,\n"
      << "    work:schedule ;\n"
      << "  lv2:extensionData state:interface , opts:interface , work:interface ;\n"
      << "  opts:supportedOption bufsz:nominalBlockLength , bufsz:maxBlockLength , param:sampleRate ;\n"
      << "  ui:ui " << Iri(lv2::kUiUri) << " ;\n"
      << "  lv2:port\n";
  AudioPort(out, lv2::kInputLeft, true, "in_l", "In Left");
  AudioPort(out, lv2::kInputRight, true, "in_r", "In Right");
  AudioPort(out, lv2::kOutputLeft, false, "out_l", "Out Left");
  AudioPort(out, lv2::kOutputRight, false, "out_r", "Out Right");
  MidiPort(out);
  int index = lv2::kFirstControlPort;
  for (const PlayerParam& row : PlayerParams()) {
    out << " ,\n";
    ControlPort(out, index++, row, *amp.GetParam(row.id));
  }
  out << " .\n\n";
  out << Iri(lv2::kUiUri) << "\n"
      << "  a ui:X11UI ;\n"
      << "  lv2:requiredFeature <http://lv2plug.in/ns/ext/instance-access> , ui:idleInterface , "
         "ui:parent ;\n"
      << "  lv2:optionalFeature ui:resize , ui:touch ;\n"
      << "  lv2:extensionData ui:idleInterface .\n";
  // The keys of the saved state, described so the presets' state validates.
  const struct {
    const char* uri;
    const char* label;
  } keys[] = {{lv2::kStateVersionUri, "state version"},
              {lv2::kStateChunkUri, "amp state"},
              {lv2::kStateImpulseUri, "impulse response file"}};
  for (const auto& key : keys) {
    out << "\n" << Iri(key.uri) << "\n  a rdf:Property ;\n  rdfs:label " << Literal(key.label) << " .\n";
  }
  return out.str();
}

}  // namespace lv2ttl
