// SIGTERM, SIGINT and SIGHUP turned into a call on the GUI thread, so that a session manager,
// `kill` or Ctrl+C in a terminal ends the viewer as its Close button does. After the first of
// them the three are back to their default action: a second one ends the program at once, for
// a shutdown that hangs.
#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <csignal>
#include <functional>
#include <memory>

class CTerminationSignals : public QObject {
    Q_OBJECT

  public:
    // Catches the three signals until destroyed; `onSignal` runs on the GUI thread with the
    // signal's number, once. Only one may exist at a time (a signal handler has one place to
    // write to).
    explicit CTerminationSignals(std::function<void(int signal)> onSignal);
    ~CTerminationSignals() override;
    CTerminationSignals(const CTerminationSignals&) = delete;
    CTerminationSignals& operator=(const CTerminationSignals&) = delete;

    // Whether the handlers are in place (false when the pipe could not be made).
    bool Armed() const { return notifier_ != nullptr; }

    static constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

  private:
    void OnReadable();

    // GUI thread only. The signal handler touches nothing of this object: it writes the
    // signal's number to the pipe's write end, which it finds in a file-scope variable.
    std::function<void(int)> onSignal_;
    int pipe_[2] = {-1, -1};
    std::unique_ptr<QSocketNotifier> notifier_;
    struct sigaction previous_[3] = {};
};
