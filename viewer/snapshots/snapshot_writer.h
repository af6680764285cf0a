// CSnapshotWriter: the thread that compresses and writes snapshot pictures, so that the GUI
// thread only reads the pictures and never waits for libjpeg or the disk. Pictures are written
// in the order they were posted.
//
// Threads: Post, WaitIdle and the destructor are called on the owner's thread (the GUI thread);
// the writing runs on the writer's own thread.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "viewer/snapshots/image_action.h"

class CSnapshotWriter {
  public:
    CSnapshotWriter();
    // Writes what is still queued, then ends the thread.
    ~CSnapshotWriter();
    CSnapshotWriter(const CSnapshotWriter&) = delete;
    CSnapshotWriter& operator=(const CSnapshotWriter&) = delete;

    // Queues `image` to be written to `fileName`; the writer owns it from now on.
    void Post(std::unique_ptr<CImageAction> image, std::string fileName);
    // Returns once every picture posted so far has been written (or has failed).
    void WaitIdle();
    // Pictures written and failed since the writer started (counted when each is done).
    std::uint64_t Written();
    std::uint64_t Failed();

  private:
    struct Job {
        std::unique_ptr<CImageAction> image;
        std::string fileName;
    };
    void Run();

    // Guarded by mutex_.
    std::mutex mutex_;
    std::condition_variable wake_;  // a job was posted or the writer is to stop
    std::condition_variable idle_;  // the queue ran empty with nothing in hand
    std::deque<Job> queue_;
    bool busy_ = false;  // the writer holds a job taken off the queue
    bool stopping_ = false;
    std::uint64_t written_ = 0;
    std::uint64_t failed_ = 0;
    // Owner's thread only (made in the constructor, joined in the destructor). Declared last:
    // it starts after the fields above exist.
    std::thread thread_;
};
