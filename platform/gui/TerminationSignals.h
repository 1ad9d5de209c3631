#pragma once
// Turns SIGTERM, SIGINT and SIGHUP into a call on the GUI thread, so that a
// program ended by its host (Linux screen-saver hosts end their programs with
// SIGTERM) closes through its normal path and cleans up after itself.

#include <functional>

class QSocketNotifier;

namespace scr {

class TerminationSignals {
public:
    // Installs the signal handlers; `onSignal` runs from the event loop each
    // time one of the signals arrives. Only one instance may exist at a time.
    explicit TerminationSignals(std::function<void()> onSignal);
    // Restores the previous handlers.
    ~TerminationSignals();
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    // Whether a signal has arrived since construction.
    bool received() const { return received_; }

private:
    void Drain();

    std::function<void()> onSignal_;
    QSocketNotifier* notifier_ = nullptr;
    bool received_ = false;
};

} // namespace scr
