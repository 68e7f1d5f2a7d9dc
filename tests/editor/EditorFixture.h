// The plug-in's own editor, built by its constructor, for layout and rendering tests.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "editor/EditorRefs.h"
#include "editor/IBitmap.h"
#include "editor/IGraphics.h"
#include "amp/VoltrexPlug.h"
#include "tests/amp/HostedAmp.h"

class PluginEditor : public testing::Test {
 protected:
  IGraphics& Editor() { return *plug_->GetGUI(); }
  const EditorRefs& Refs() const { return plug_->EditorControls(); }
  IControl* Control(int index) { return Editor().GetControl(index); }

  HostedAmp<> plug_;
};

// The bitmap a control draws, or an unloaded one for controls that draw none.
IBitmap BitmapOf(const IControl& control);
