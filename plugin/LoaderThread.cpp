#include "plugin/LoaderThread.h"

#include "plugin/IEffectBase.h"

LoaderThread::LoaderThread(IEffectBase& plug) : plug_(plug), thread_([this] { Run(); }) {}

LoaderThread::~LoaderThread() {
  {
    std::lock_guard<std::mutex> guard(mutex_);
    stopping_ = true;
  }
  wake_.notify_one();
  thread_.join();
}

void LoaderThread::Run() {
  std::unique_lock<std::mutex> lock(mutex_);
  while (!wake_.wait_for(lock, kPollPeriod, [this] { return stopping_; })) {
    if (!plug_.HostRequestsPending()) continue;
    lock.unlock();
    plug_.ServeHostRequests();
    lock.lock();
  }
}
