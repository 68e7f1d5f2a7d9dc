// A convolver sink that keeps the last convolver a load prepared, to play it as the
// plug-in's audio thread would.
#pragma once

#include <memory>

#include "cabinet/ImpulseFiles.h"
#include "cabinet/PartitionedConvolver.h"

struct KeptConvolver : ConvolverSink {
  void InstallConvolver(std::unique_ptr<PartitionedConvolver> prepared) override {
    convolver = std::move(prepared);
  }
  std::unique_ptr<PartitionedConvolver> convolver = std::make_unique<PartitionedConvolver>();
};
