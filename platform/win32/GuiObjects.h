// The count of GDI and USER objects the editor's windows hold, kept where the editor
// creates and destroys them. Windows' GetGuiResources would answer for the whole process
// (and Wine answers 0), so the editor keeps its own tally for leak checks. Any thread.
#pragma once

namespace platform {

enum class GuiObject { Gdi, User };

// One object of the kind created (a null handle counts nothing).
void NoteCreated(GuiObject kind, const void* handle);
// One object of the kind destroyed.
void NoteDestroyed(GuiObject kind);

}  // namespace platform
