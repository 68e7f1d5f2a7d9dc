// A small LV2 host for the tests, through lilv as hosts do: the bundle loaded from the
// build folder, one instance with its ports connected to buffers of the host's own, MIDI
// through an atom sequence, state saved and restored through lilv.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <lilv/lilv.h>

#include "lv2/core/lv2.h"
#include "lv2/options/options.h"
#include "lv2/urid/urid.h"
#include "lv2/worker/worker.h"

namespace lv2test {

// The world with the bundle loaded, once per test program.
struct World {
  LilvWorld* world = nullptr;
  const LilvPlugin* plugin = nullptr;
  static World& Get();
};

class UridMap {
 public:
  UridMap();
  LV2_URID Map(const char* uri);
  const char* Unmap(LV2_URID urid) const;
  LV2_URID_Map* MapFeature() { return &map_; }
  LV2_URID_Unmap* UnmapFeature() { return &unmap_; }

 private:
  std::vector<std::string> uris_;
  LV2_URID_Map map_;
  LV2_URID_Unmap unmap_;
};

using Midi = std::array<uint8_t, 3>;

// One state property: its type's URI and bytes.
struct StateProperty {
  std::string type;
  std::vector<uint8_t> bytes;
};

struct InstanceOptions {
  double sampleRate = 44100.0;
  bool withMap = true;       // give urid:map (and with it the options)
  int blockLength = 512;     // nominal and maximum block length; 0 gives no options
  bool withWorker = false;   // give work:schedule; jobs wait for RunWorker
};

class Instance {
 public:
  explicit Instance(const InstanceOptions& options = {});
  ~Instance();
  Instance(const Instance&) = delete;
  Instance& operator=(const Instance&) = delete;

  bool Valid() const { return instance_ != nullptr; }
  LilvInstance* Raw() { return instance_; }
  UridMap& Map() { return *map_; }

  // Control ports by symbol; the buffers start at the ports' defaults.
  void SetControl(const std::string& symbol, float value);
  float Control(const std::string& symbol) const;
  int ControlCount() const { return int(controls_.size()); }
  // Queues MIDI messages for the next run, at frame 0.
  void SendMidi(const std::vector<Midi>& messages);
  // Appends an event of any type to the next run's sequence.
  void SendEvent(uint32_t type, const std::vector<uint8_t>& body, int64_t frame = 0);
  // Runs the ports as they are (frames of silence when input is empty).
  void Run(uint32_t frames);
  // Processes a mono signal fed to both inputs, in runs of the given sizes, repeated.
  std::vector<std::array<float, 2>> Process(const std::vector<float>& mono,
                                            const std::vector<uint32_t>& runSizes);

  // The worker's jobs scheduled so far, run now on this thread; returns how many.
  int RunWorker();

  // State through lilv: saved with the current port values, restored with set_value
  // writing the saved port values into the port buffers (as hosts do after restore).
  LilvState* Save(const std::string& folder);
  void Restore(const LilvState* state);
  // The same directly through the state interface, with the properties in hand.
  std::map<std::string, StateProperty> SaveProperties(const LV2_Feature* const* features = nullptr);
  int RestoreProperties(const std::map<std::string, StateProperty>& properties,
                        const LV2_Feature* const* features = nullptr);

 private:
  void ClearSequence();

  static LV2_Worker_Status Schedule(LV2_Worker_Schedule_Handle handle, uint32_t size, const void* data);

  std::unique_ptr<UridMap> map_;
  LV2_Worker_Schedule schedule_{this, Schedule};
  std::vector<std::vector<uint8_t>> jobs_;
  std::vector<LV2_Options_Option> options_;
  int32_t blockLength_ = 0;
  float sampleRate_ = 0.0f;
  LilvInstance* instance_ = nullptr;
  std::vector<float> controls_;      // by port index, unused entries for non-control ports
  std::vector<std::string> symbols_;  // by port index
  std::vector<uint64_t> sequence_;    // 8-byte aligned atom sequence
  std::vector<float> in_[2];
  std::vector<float> out_[2];
};

// The plug-in's URI as lilv sees it.
const char* PluginUri();

}  // namespace lv2test
