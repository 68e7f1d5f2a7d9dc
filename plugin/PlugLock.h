// The plug-in lock: one recursive lock per plug-in object. The dispatcher, the parameter
// callbacks, state save and restore, every parameter change and every load hold it; it is
// recursive because a parameter change may set further parameters on the same thread while
// holding it. The audio thread never waits for it while the host plays live: it runs its
// own copy of the engine, and what reaches it meanwhile is queued.
#pragma once

#include <mutex>

using PlugLock = std::recursive_mutex;
using PlugLockGuard = std::lock_guard<PlugLock>;
