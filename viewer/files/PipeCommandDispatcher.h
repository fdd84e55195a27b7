#pragma once

class PipeCommandTarget;
class PipeMessage;

// Carries out one request read from the viewer's pipe and turns the record into
// its reply. Knows the command table; knows nothing of pipes or threads.
class PipeCommandDispatcher {
public:
    enum class Outcome { Served, Stop };

    explicit PipeCommandDispatcher(PipeCommandTarget& target) : m_target(target) {}

    // Never throws: a handler's exception becomes result 0.
    Outcome Dispatch(PipeMessage& message) noexcept;

private:
    Outcome DispatchUnguarded(PipeMessage& message);

    PipeCommandTarget& m_target;
};
