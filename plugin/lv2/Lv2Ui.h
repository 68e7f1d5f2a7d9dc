// The LV2 editor: the amp's own editor embedded in the host's parent window, reached
// through instance access. It runs on the host's interface thread, driven by idle calls,
// and carries values in both directions: values the amp changed itself go to the host's
// ports (touch, write, release), host port changes move the controls.
#pragma once

#include <cstdint>

#include "lv2/ui/ui.h"

namespace lv2 {

class Lv2Plugin;

class Lv2Ui {
 public:
  // Interface thread. Null when the window cannot be made.
  static Lv2Ui* Create(Lv2Plugin& plugin, void* parent, LV2UI_Write_Function write,
                       LV2UI_Controller controller, const LV2UI_Resize* resize,
                       const LV2UI_Touch* touch, LV2UI_Widget* widget);
  ~Lv2Ui();
  Lv2Ui(const Lv2Ui&) = delete;
  Lv2Ui& operator=(const Lv2Ui&) = delete;

  // Interface thread: a host port value (format 0, a float).
  void PortEvent(uint32_t port, uint32_t size, uint32_t format, const void* buffer);
  // Interface thread: writes the amp's changes to the host, runs the window. 0 = keep open.
  int Idle();

 private:
  Lv2Ui(Lv2Plugin& plugin, LV2UI_Write_Function write, LV2UI_Controller controller,
        const LV2UI_Touch* touch);
  void WritePort(int controlPort, float value, int gesture);

  Lv2Plugin& plugin_;
  LV2UI_Write_Function write_;
  LV2UI_Controller controller_;
  const LV2UI_Touch* touch_;
};

}  // namespace lv2
