// The plug-in lock: one recursive lock per plug-in object. The audio callbacks, the
// dispatcher, the parameter callbacks, state save and restore and every parameter change
// hold it; it is recursive because a parameter change may set further parameters on the
// same thread while holding it.
#pragma once

#include <mutex>

using PlugLock = std::recursive_mutex;
using PlugLockGuard = std::lock_guard<PlugLock>;
