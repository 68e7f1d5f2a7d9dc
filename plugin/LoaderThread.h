// The plug-in's own loader thread: serves the host requests the audio thread queued
// (IEffectBase::ServeHostRequests), so that a program change's file reading and a
// response's preparation never run on the audio thread. It looks for work every
// kPollPeriod; the audio thread only queues and never wakes it, so queuing stays wait-free.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

class IEffectBase;

class LoaderThread {
 public:
  static constexpr std::chrono::milliseconds kPollPeriod{2};

  // Starts serving plug; stops and joins when destroyed, before plug goes away.
  explicit LoaderThread(IEffectBase& plug);
  ~LoaderThread();
  LoaderThread(const LoaderThread&) = delete;
  LoaderThread& operator=(const LoaderThread&) = delete;

 private:
  void Run();

  IEffectBase& plug_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool stopping_ = false;  // guarded by mutex_
  std::thread thread_;
};
