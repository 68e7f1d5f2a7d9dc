#include "platform/linux/X11TextEntry.h"

#include <algorithm>

#include "editor/IGraphics.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>

namespace platform {
namespace {

constexpr long kEntryEventMask = ExposureMask | ButtonPressMask | KeyPressMask | FocusChangeMask;
constexpr int kRowHeightPx = TextEntry::kEntryHeightPx;
constexpr int kMaxVisibleRows = 12;
constexpr int kTextLeftPx = 3;
constexpr int kTextBaselinePx = 12;
constexpr unsigned kWheelUpButton = 4;
constexpr unsigned kWheelDownButton = 5;
constexpr unsigned long kWhite = 0xFFFFFF;
constexpr unsigned long kBlack = 0x000000;

}  // namespace

int X11TextEntry::RowHeight() const { return graphics_.ToWindow(kRowHeightPx); }

void X11TextEntry::Attach(Display* display, ::Window parent) {
  display_ = display;
  parent_ = parent;
}

bool X11TextEntry::OpenEditBox(const IRect& rect, std::string_view text) {
  isList_ = false;
  text_ = text;
  allSelected_ = true;
  const IRect box = graphics_.ToWindow(rect);
  return Create(box, box.H());
}

bool X11TextEntry::OpenListBox(const IRect& rect, const std::vector<std::string>& items,
                               int selected) {
  isList_ = true;
  items_ = items;
  firstRow_ = 0;
  const int rows = std::clamp(int(items.size()), 1, kMaxVisibleRows);
  if (!Create(graphics_.ToWindow(rect), rows * RowHeight())) return false;
  SelectItem(selected);
  return true;
}

bool X11TextEntry::Create(const IRect& rect, int height) {
  if (window_ || !display_ || !parent_) return false;
  window_ = XCreateSimpleWindow(display_, parent_, rect.L, rect.T, unsigned(rect.W()),
                                unsigned(height), 1, kBlack, kWhite);
  if (!window_) return false;
  XSelectInput(display_, window_, kEntryEventMask);
  gc_ = XCreateGC(display_, window_, 0, nullptr);
  XMapRaised(display_, window_);
  focusPending_ = true;
  return gc_ != nullptr;
}

void X11TextEntry::SetEditText(std::string_view text) {
  if (!window_ || isList_) return;
  text_ = text;
  allSelected_ = false;
  Draw();
}

// Moves the choice and scrolls it into view; choosing from outside never commits.
void X11TextEntry::SelectItem(int index) {
  if (!window_ || !isList_) return;
  selected_ = index >= 0 && index < int(items_.size()) ? index : -1;
  if (selected_ >= 0) {
    if (selected_ < firstRow_) firstRow_ = selected_;
    if (selected_ >= firstRow_ + kMaxVisibleRows) firstRow_ = selected_ - kMaxVisibleRows + 1;
  }
  Draw();
}

std::string X11TextEntry::Text() const {
  if (!isList_) return text_;
  return selected_ >= 0 ? items_[size_t(selected_)] : std::string();
}

// The focus goes back to the editor window, which the window's destruction would hand to
// the host otherwise.
void X11TextEntry::Close() {
  if (!window_) return;
  XWindowAttributes attributes{};
  if (XGetWindowAttributes(display_, parent_, &attributes) && attributes.map_state == IsViewable)
    XSetInputFocus(display_, parent_, RevertToParent, CurrentTime);
  if (gc_) XFreeGC(display_, gc_);
  XDestroyWindow(display_, window_);
  window_ = 0;
  gc_ = nullptr;
  focusPending_ = false;
  items_.clear();
  selected_ = -1;
}

void X11TextEntry::Idle() {
  if (!window_ || !focusPending_) return;
  XWindowAttributes attributes{};
  if (!XGetWindowAttributes(display_, window_, &attributes) || attributes.map_state != IsViewable)
    return;
  focusPending_ = false;
  XSetInputFocus(display_, window_, RevertToParent, CurrentTime);
}

void X11TextEntry::Handle(XEvent& event) {
  switch (event.type) {
    case Expose:
      if (event.xexpose.count == 0) Draw();
      return;
    case FocusIn:
      Focus(event.xfocus, true);
      return;
    case FocusOut:
      Focus(event.xfocus, false);
      return;
    case KeyPress:
      Key(event.xkey);
      return;
    case ButtonPress:
      if (!isList_) return;
      if (event.xbutton.button == kWheelUpButton) Scroll(-1);
      if (event.xbutton.button == kWheelDownButton) Scroll(1);
      if (event.xbutton.button != Button1) return;
      SelectItem(firstRow_ + event.xbutton.y / RowHeight());
      if (selected_ >= 0) graphics_.OnTextEntryCommit();
      return;
    default:
      return;
  }
}

// Focus moving to and from the pointer's window within ours is no change of owner.
void X11TextEntry::Focus(const XFocusChangeEvent& event, bool gained) {
  if (event.detail == NotifyPointer || event.detail == NotifyInferior) return;
  graphics_.OnTextEntryFocus(gained);
}

void X11TextEntry::Key(XKeyEvent& event) {
  char typed[8] = {};
  KeySym symbol = 0;
  const int length = XLookupString(&event, typed, sizeof typed, &symbol, nullptr);
  if (symbol == XK_Return || symbol == XK_KP_Enter) {
    graphics_.OnTextEntryCommit();
    return;
  }
  if (isList_) {
    if (symbol == XK_Up) SelectItem(std::max(selected_ - 1, 0));
    if (symbol == XK_Down) SelectItem(std::min(selected_ + 1, int(items_.size()) - 1));
    return;
  }
  if (symbol == XK_BackSpace) {
    if (allSelected_) text_.clear();
    else if (!text_.empty()) text_.pop_back();
  } else if (length == 1 && typed[0] >= ' ' && typed[0] <= '~') {
    if (allSelected_) text_.clear();
    if (text_.size() < TextEntry::kMaxTextChars) text_ += typed[0];
  } else {
    return;
  }
  allSelected_ = false;
  Draw();
}

void X11TextEntry::Scroll(int rows) {
  const int lastFirst = std::max(int(items_.size()) - kMaxVisibleRows, 0);
  firstRow_ = std::clamp(firstRow_ + rows, 0, lastFirst);
  Draw();
}

// Selected text and the chosen row are drawn inverted.
void X11TextEntry::Draw() {
  if (!window_ || !gc_) return;
  XWindowAttributes attributes{};
  if (!XGetWindowAttributes(display_, window_, &attributes)) return;
  XClearWindow(display_, window_);
  const auto drawRow = [&](const std::string& text, int top, bool inverted) {
    XSetForeground(display_, gc_, kBlack);
    if (inverted) XFillRectangle(display_, window_, gc_, 0, top, unsigned(attributes.width), unsigned(RowHeight()));
    XSetForeground(display_, gc_, inverted ? kWhite : kBlack);
    XDrawString(display_, window_, gc_, graphics_.ToWindow(kTextLeftPx), top + graphics_.ToWindow(kTextBaselinePx),
                text.data(), int(text.size()));
  };
  if (!isList_) {
    drawRow(text_, 0, allSelected_ && !text_.empty());
  } else {
    for (int row = 0; row < kMaxVisibleRows && firstRow_ + row < int(items_.size()); ++row)
      drawRow(items_[size_t(firstRow_ + row)], row * RowHeight(), firstRow_ + row == selected_);
  }
  XFlush(display_);
}

}  // namespace platform
