// The panels that open over the editor: the about box, the preset browser and the
// frequency-response panel.
#pragma once

#include "art/Canvas.h"

Canvas DrawAboutBox(int width, int height);
Canvas DrawBrowserPanel(int width, int height);
Canvas DrawResponsePanel(int width, int height);
