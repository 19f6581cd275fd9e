// Success, or the system's error code of the call that failed, carried from where a call fails
// to the place that reports it.
#pragma once

#include <cstdint>

class Result {
  public:
    static Result Success() { return Result(); }
    // A failure keeps its code even when the system gave none (0): it is still a failure.
    static Result Failure(uint32_t error) { return Result(error); }

    bool ok() const { return !failed_; }
    explicit operator bool() const { return ok(); }
    // The system's error code (GetLastError) of a failure; 0 for success.
    uint32_t error() const { return error_; }

  private:
    Result() = default;
    explicit Result(uint32_t error) : failed_(true), error_(error) {}

    bool failed_ = false;
    uint32_t error_ = 0;
};
