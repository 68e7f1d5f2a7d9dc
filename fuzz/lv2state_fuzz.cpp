// Feeds arbitrary bytes to the LV2 state restore as a host hands a saved session over: an
// instance made through lv2_descriptor with urid:map, then restore() with properties cut
// from the input. The first byte says how each property is offered and which path
// features the restore gets; then come the version and the impulse path, each as a 16-bit
// little-endian length and its bytes; the amp's state bytes are the rest. Whatever was
// restored must run, save, and restore again to the same saved state.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "amp/PlayerParams.h"
#include "lv2/atom/atom.h"
#include "lv2/core/lv2.h"
#include "lv2/state/state.h"
#include "lv2/urid/urid.h"
#include "platform/Dialogs.h"
#include "plugin/lv2/Lv2Ports.h"
#include "plugin/lv2/Lv2StateBytes.h"
#include "presets/DataFolder.h"

namespace {

constexpr double kSampleRateHz = 48000.0;
constexpr uint32_t kBlockFrames = 64;
constexpr uint32_t kPortable = LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE;

// How the input offers one property (two bits of the first byte).
enum class Offer { AsSaved, Missing, OtherType, NoType };
// Which path features a restore gets (the first byte's top two bits).
enum class PathMapping { None, MapAndFree, MapOnly, Failing };

// ---------------------------------------------------------------------------------------
// The host's side: URIDs, paths and properties.

class UridMap {
 public:
  LV2_URID Map(const char* uri) {
    for (size_t i = 0; i < uris_.size(); ++i) {
      if (uris_[i] == uri) return LV2_URID(i + 1);
    }
    uris_.emplace_back(uri);
    return LV2_URID(uris_.size());
  }
  LV2_URID_Map* Feature() { return &map_; }

 private:
  static LV2_URID MapUri(LV2_URID_Map_Handle handle, const char* uri) {
    return static_cast<UridMap*>(handle)->Map(uri);
  }
  std::vector<std::string> uris_;
  LV2_URID_Map map_{this, MapUri};
};

char* Copy(const std::string& text) {
  char* copy = static_cast<char*>(std::malloc(text.size() + 1));
  std::memcpy(copy, text.c_str(), text.size() + 1);
  return copy;
}

// The session folder holds the fuzzer's small WAVE seeds, so that a relative path may
// name a response that loads.
struct SessionPaths {
  std::string folder = VOLTREX_FUZZ_SESSION_FOLDER;
  bool failing = false;  // the host cannot map any path

  static char* Abstract(LV2_State_Map_Path_Handle handle, const char* path) {
    const auto* self = static_cast<SessionPaths*>(handle);
    if (self->failing) return nullptr;
    const std::string text = path;
    const bool inside = text.size() > self->folder.size() && text.starts_with(self->folder);
    return Copy(inside ? text.substr(self->folder.size()) : text);
  }
  static char* Absolute(LV2_State_Map_Path_Handle handle, const char* path) {
    const auto* self = static_cast<SessionPaths*>(handle);
    if (self->failing) return nullptr;
    return Copy(path[0] == '/' ? std::string(path) : self->folder + path);
  }
  static void Free(LV2_State_Free_Path_Handle, char* path) { std::free(path); }

  // What a save stores for a path a restore was given: a file of the data folder relative
  // to it, any other in the host's abstract form.
  std::string Stored(const std::string& path) {
    char* absolute = Absolute(this, path.c_str());
    std::string result = lv2::RelativeToDataFolder(absolute, DataFolder());
    if (result.empty()) {
      char* stored = Abstract(this, absolute);
      result = stored;
      std::free(stored);
    }
    std::free(absolute);
    return result;
  }
};

struct Property {
  LV2_URID type = 0;
  uint32_t flags = 0;
  std::vector<uint8_t> bytes;
};
using Properties = std::map<LV2_URID, Property>;

LV2_State_Status Store(LV2_State_Handle handle, uint32_t key, const void* value, size_t size, uint32_t type,
                       uint32_t flags) {
  auto& properties = *static_cast<Properties*>(handle);
  // A key stored twice, or stored without value or type, is the plug-in's fault.
  if (key == 0 || type == 0 || !value || properties.count(key)) std::abort();
  const auto* bytes = static_cast<const uint8_t*>(value);
  properties[key] = {type, flags, std::vector<uint8_t>(bytes, bytes + size)};
  return LV2_STATE_SUCCESS;
}

// Hands out each value in a block of exactly its size, so reading past it is caught.
struct Retrieval {
  const Properties* properties;
  std::vector<std::unique_ptr<uint8_t[]>> blocks;
};

const void* Retrieve(LV2_State_Handle handle, uint32_t key, size_t* size, uint32_t* type, uint32_t* flags) {
  auto& retrieval = *static_cast<Retrieval*>(handle);
  const auto found = retrieval.properties->find(key);
  if (found == retrieval.properties->end()) return nullptr;
  const Property& property = found->second;
  auto block = std::make_unique<uint8_t[]>(property.bytes.size());
  std::copy(property.bytes.begin(), property.bytes.end(), block.get());
  *size = property.bytes.size();
  *type = property.type;
  *flags = property.flags;
  retrieval.blocks.push_back(std::move(block));
  return retrieval.blocks.back().get();
}

void IgnoreMessage(const std::string&, const std::string&, void*) {}

// ---------------------------------------------------------------------------------------
// One instance with its ports connected, as a host runs it.

class Host {
 public:
  Host() {
    // A missing response file raises a message box; nobody is here to close it.
    platform::SetMessageSink(&IgnoreMessage, nullptr);
    const LV2_Descriptor* descriptor = lv2_descriptor(0);
    const LV2_Feature map = {LV2_URID__map, urids_.Feature()};
    const LV2_Feature* features[] = {&map, nullptr};
    instance_ = descriptor->instantiate(descriptor, kSampleRateHz, "", features);
    if (!instance_) std::abort();
    descriptor_ = descriptor;
    state_ = static_cast<const LV2_State_Interface*>(descriptor->extension_data(LV2_STATE__interface));
    if (!state_) std::abort();
    ids = {urids_.Map(LV2_ATOM__Chunk),        urids_.Map(LV2_ATOM__Path),
           urids_.Map(LV2_ATOM__Int),          urids_.Map(LV2_ATOM__String),
           urids_.Map(LV2_ATOM__Long),         urids_.Map(lv2::kStateChunkUri),
           urids_.Map(lv2::kStateVersionUri),  urids_.Map(lv2::kStateImpulseUri)};
    ConnectPorts();
    descriptor_->activate(instance_);
  }
  ~Host() {
    descriptor_->deactivate(instance_);
    descriptor_->cleanup(instance_);
  }

  LV2_State_Status Restore(const Properties& properties, PathMapping mapping) {
    paths_.failing = mapping == PathMapping::Failing;
    Retrieval retrieval{&properties, {}};
    const LV2_Feature* const* features = PathFeatures();
    // Without free-path the plug-in frees mapped paths itself.
    if (mapping == PathMapping::MapOnly) pathFeatures_[1] = nullptr;
    const LV2_State_Status status = state_->restore(instance_, Retrieve, &retrieval, LV2_STATE_IS_POD,
                                                    mapping == PathMapping::None ? nullptr : features);
    paths_.failing = false;
    return status;
  }

  Properties Save() {
    Properties properties;
    const LV2_State_Status status = state_->save(instance_, Store, &properties, kPortable, PathFeatures());
    if (status != LV2_STATE_SUCCESS) std::abort();
    return properties;
  }

  std::string StoredPath(const std::string& path) { return paths_.Stored(path); }

  // One block of a plucked tone; the amp must answer with finite samples.
  void Run() {
    for (uint32_t i = 0; i < kBlockFrames; ++i) {
      const float sample = 0.5f * std::sin(float(i) * 0.3f) * std::exp(-float(i) * 0.02f);
      in_[0][i] = in_[1][i] = sample;
    }
    midi_.atom = {sizeof(LV2_Atom_Sequence_Body), sequenceType_};
    midi_.body = {0, 0};
    descriptor_->run(instance_, kBlockFrames);
    for (const auto& channel : out_) {
      for (float sample : channel) {
        if (!std::isfinite(sample)) std::abort();
      }
    }
  }

  // The types and keys of the state's properties.
  struct Urids {
    LV2_URID chunk, path, int32, string, int64;
    LV2_URID stateKey, versionKey, impulseKey;
  };
  Urids ids{};

 private:
  void ConnectPorts() {
    sequenceType_ = urids_.Map(LV2_ATOM__Sequence);
    descriptor_->connect_port(instance_, lv2::kInputLeft, in_[0]);
    descriptor_->connect_port(instance_, lv2::kInputRight, in_[1]);
    descriptor_->connect_port(instance_, lv2::kOutputLeft, out_[0]);
    descriptor_->connect_port(instance_, lv2::kOutputRight, out_[1]);
    descriptor_->connect_port(instance_, lv2::kMidiInput, &midi_);
    // One control port per player parameter.
    for (uint32_t port = 0; port < controls_.size(); ++port) {
      descriptor_->connect_port(instance_, lv2::kFirstControlPort + port, &controls_[port]);
    }
  }

  const LV2_Feature* const* PathFeatures() {
    mapPath_ = {&paths_, SessionPaths::Abstract, SessionPaths::Absolute};
    freePath_ = {&paths_, SessionPaths::Free};
    mapFeature_ = {LV2_STATE__mapPath, &mapPath_};
    freeFeature_ = {LV2_STATE__freePath, &freePath_};
    pathFeatures_[0] = &mapFeature_;
    pathFeatures_[1] = &freeFeature_;
    pathFeatures_[2] = nullptr;
    return pathFeatures_;
  }

  UridMap urids_;
  SessionPaths paths_;
  LV2_State_Map_Path mapPath_{};
  LV2_State_Free_Path freePath_{};
  LV2_Feature mapFeature_{}, freeFeature_{};
  const LV2_Feature* pathFeatures_[3] = {};
  const LV2_Descriptor* descriptor_ = nullptr;
  LV2_Handle instance_ = nullptr;
  const LV2_State_Interface* state_ = nullptr;
  LV2_URID sequenceType_ = 0;
  float in_[2][kBlockFrames] = {};
  float out_[2][kBlockFrames] = {};
  std::vector<float> controls_ = std::vector<float>(PlayerParams().size());
  LV2_Atom_Sequence midi_{};
};

// ---------------------------------------------------------------------------------------
// The input cut into properties.

class Input {
 public:
  Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  uint8_t Byte() { return size_ > 0 ? (--size_, *data_++) : 0; }
  // A 16-bit length, then as many of its bytes as there are.
  std::vector<uint8_t> Field() {
    const size_t length = std::min<size_t>(Byte() | size_t(Byte()) << 8, size_);
    return Take(length);
  }
  std::vector<uint8_t> Rest() { return Take(size_); }

 private:
  std::vector<uint8_t> Take(size_t length) {
    std::vector<uint8_t> bytes(data_, data_ + length);
    data_ += length;
    size_ -= length;
    return bytes;
  }
  const uint8_t* data_;
  size_t size_;
};

// The property as the plug-in saves it, missing, of another type, or of none.
void Offered(Properties& properties, uint32_t key, Offer offer, LV2_URID type, LV2_URID otherType,
             std::vector<uint8_t> bytes) {
  if (offer == Offer::Missing) return;
  const LV2_URID offered = offer == Offer::AsSaved ? type : offer == Offer::OtherType ? otherType : 0;
  properties[key] = {offered, kPortable, std::move(bytes)};
}

// The saved state with the path inside the amp's bytes left out: the impulse property
// carries the path, and the bytes hold it as resolved on this machine.
Properties Comparable(Properties properties, LV2_URID stateKey) {
  Property& state = properties.at(stateKey);
  ByteChunk bytes;
  bytes.PutBytes(state.bytes.data(), int(state.bytes.size()));
  const ByteChunk withoutPath = lv2::WithImpulsePath(bytes, "");
  state.bytes.assign(withoutPath.Data(), withoutPath.Data() + withoutPath.Size());
  return properties;
}

// True when the bytes begin with a whole length-prefixed string, the place of the path.
bool BeginsWithPath(const std::vector<uint8_t>& bytes) {
  int32_t length = 0;
  if (bytes.size() < sizeof length) return false;
  std::memcpy(&length, bytes.data(), sizeof length);
  return length >= 0 && size_t(length) <= bytes.size() - sizeof length;
}

// The path up to its first zero byte.
std::string PathIn(const std::vector<uint8_t>& bytes) {
  return std::string(bytes.begin(), std::find(bytes.begin(), bytes.end(), uint8_t(0)));
}

bool operator==(const Property& a, const Property& b) {
  return a.type == b.type && a.flags == b.flags && a.bytes == b.bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Host host;
  // Each input starts from the same state, so that what it leaves out has the same values.
  static const Properties fresh = host.Save();
  host.Restore(fresh, PathMapping::MapAndFree);
  Input input(data, size);
  const uint8_t layout = input.Byte();
  const auto offer = [layout](int shift) { return Offer((layout >> shift) & 3); };
  const auto mapping = PathMapping(layout >> 6);
  const bool mapsPaths = mapping == PathMapping::MapAndFree || mapping == PathMapping::MapOnly;

  const Host::Urids& ids = host.ids;
  std::vector<uint8_t> version = input.Field();
  std::vector<uint8_t> impulse = input.Field();
  std::vector<uint8_t> state = input.Rest();
  const std::string path = PathIn(impulse);
  const bool usable = offer(0) == Offer::AsSaved && !state.empty();
  const bool pathKept =
      usable && offer(4) == Offer::AsSaved && BeginsWithPath(state) && !path.empty() && mapsPaths;
  Properties properties;
  Offered(properties, ids.versionKey, offer(2), ids.int32, ids.int64, std::move(version));
  Offered(properties, ids.impulseKey, offer(4), ids.path, ids.string, std::move(impulse));
  Offered(properties, ids.stateKey, offer(0), ids.chunk, ids.string, std::move(state));
  const LV2_State_Status status = host.Restore(properties, mapping);
  host.Run();

  const Properties saved = host.Save();
  if (!saved.count(ids.stateKey) || !saved.count(ids.versionKey)) std::abort();
  // Without usable state bytes the restore fails and changes nothing.
  if ((status == LV2_STATE_SUCCESS) != usable || (!usable && saved != fresh)) std::abort();
  // A response path given with whole state bytes is kept, missing file or not.
  if (pathKept) {
    const auto stored = saved.find(ids.impulseKey);
    if (stored == saved.end() || PathIn(stored->second.bytes) != host.StoredPath(path)) std::abort();
  }
  // What the plug-in saved restores, and saves again the same.
  if (host.Restore(saved, PathMapping::MapAndFree) != LV2_STATE_SUCCESS) std::abort();
  host.Run();
  if (Comparable(host.Save(), ids.stateKey) != Comparable(saved, ids.stateKey)) std::abort();
  return 0;
}
