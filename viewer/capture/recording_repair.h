// CRecordingRepair: the start-up repair of recordings that the program left unfinished when it
// last ended without stopping them (it was killed, it crashed, the power went). The recording
// journal names them; a worker thread repairs them one after the other so that the window stays
// responsive, and when it is done the user is told which files were repaired and which could
// not be. A file that is repaired, that no longer exists or that holds nothing to save leaves
// the journal; one whose repair was cut short (the program closed) stays for the next start.
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/base/win_types.h"
#include "platform/storage/recording_journal.h"
#include "viewer/capture/recording_host.h"

class CRecordingRepair {
  public:
    // `host` and `journal` outlive this object.
    CRecordingRepair(IRecordingHost& host, storage::RecordingJournal& journal)
        : host_(host), journal_(journal) {}
    // GUI thread: cancels a repair under way (its file is left as it was) and waits for the
    // worker, which stops between two packets.
    ~CRecordingRepair();
    CRecordingRepair(const CRecordingRepair&) = delete;
    CRecordingRepair& operator=(const CRecordingRepair&) = delete;

    // GUI thread: repairs the files the journal names, on a worker; nothing when there are
    // none or a repair is under way. The worker calls `wake` once, when it is done;
    // `wake` must return at once and have the GUI thread call Finish.
    void Start(std::function<void()> wake);
    // GUI thread: the worker's outcome, after its wake: updates the journal and tells the user
    // with the host's ShowMessage. Nothing before the worker is done.
    void Finish();
    // GUI thread: whether a repair has been started and not finished.
    bool Running() const { return worker_.joinable(); }

  private:
    struct Outcome {
        std::string path;
        HRESULT result = S_OK;
    };
    void Work(std::vector<std::string> paths, std::function<void()> wake);

    // Not owned.
    IRecordingHost& host_;
    storage::RecordingJournal& journal_;
    // Written by the GUI thread, read by the worker.
    std::atomic<bool> cancel_{false};
    // Guarded by mutex_: the worker's outcome, complete once done_.
    std::mutex mutex_;
    std::vector<Outcome> outcomes_;
    bool done_ = false;
    // GUI thread only.
    std::thread worker_;
};
