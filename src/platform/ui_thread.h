// The user-interface thread's side of worker threads: a worker hands an
// operation over, the UI thread runs it from its event queue, and the worker
// waits until it has run. Also the in-place event loop used by waits that
// must keep the interface alive.
#pragma once

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

class THandOverChannel : public std::enable_shared_from_this<THandOverChannel> {
 public:
  static std::shared_ptr<THandOverChannel> Create();

  // Worker thread: queue op on the UI thread and wait until it has run.
  // Returns false when the channel was cancelled before or while waiting;
  // the worker must then stop touching whatever the operation served.
  bool HandOver(std::function<void()> op);

  // UI thread: refuse further hand-overs and wake a waiting worker.
  void Cancel();
  bool Cancelled() const;

  // UI thread: true while one of this channel's operations is running, i.e.
  // the caller is nested inside it and its worker is blocked waiting.
  bool InHandOver() const { return inHandOver_; }

  // Worker thread: tell that the worker is gone; UI thread: wait for that.
  void MarkFinished();
  void WaitFinished();
  bool Finished() const;

 private:
  THandOverChannel() = default;
  mutable std::mutex m_;
  std::condition_variable cv_;
  bool cancelled_ = false;
  bool pending_ = false;
  bool finished_ = false;
  bool inHandOver_ = false;  // UI thread only
};

// Runs the event queue once, sleeping until at least one event arrives.
void ProcessUiEventsWaiting();
