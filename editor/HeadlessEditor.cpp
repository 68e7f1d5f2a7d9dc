#include "editor/HeadlessEditor.h"

#include "editor/RasterPng.h"

HeadlessEditor::HeadlessEditor(IGraphics& graphics, float scale)
    : graphics_(graphics), textEntry_(graphics) {
  graphics_.SetTextEntryWidget(&textEntry_);
  graphics_.WindowOpened(nullptr, scale);
}

HeadlessEditor::~HeadlessEditor() {
  graphics_.WindowClosed();
  graphics_.SetTextEntryWidget(nullptr);
}

void HeadlessEditor::Click(int x, int y, const IMouseMod& mod) {
  MouseDown(x, y, mod);
  MouseUp(x, y, mod);
}

void HeadlessEditor::DoubleClick(int x, int y, const IMouseMod& mod) {
  Click(x, y, mod);
  graphics_.OnMouseDblClick(x, y, mod);
  MouseUp(x, y, mod);
}

void HeadlessEditor::Drag(int x0, int y0, int x1, int y1, const IMouseMod& mod, int steps) {
  MouseDown(x0, y0, mod);
  for (int i = 1; i <= steps; ++i)
    graphics_.OnMouseMove(x0 + (x1 - x0) * i / steps, y0 + (y1 - y0) * i / steps, mod);
  MouseUp(x1, y1, mod);
}

void HeadlessEditor::Wheel(int x, int y, int detents, const IMouseMod& mod) {
  graphics_.OnMouseWheel(x, y, mod, detents * IGraphics::kWheelDeltaPerDetent);
}

bool HeadlessEditor::WritePng(const std::string& path) const {
  return WriteRasterPng(Raster(), path);
}
