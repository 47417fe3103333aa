// What everything that can fail gives back: its value, or why it failed. The
// reason is a sentence for the status log or stderr (UTF-8, may name a
// file); it is never empty for a failure.
#pragma once

#include <optional>
#include <string>
#include <utility>

namespace platform {

// Why something failed; converts to any Result.
struct Failure {
    std::string reason;
};

inline Failure Fail(std::string reason) {
    return {reason.empty() ? std::string("failed") : std::move(reason)};
}

// Result<> gives back nothing but whether it worked.
template <typename T = void>
class [[nodiscard]] Result {
  public:
    // Implicit both ways, so that a function returns a value or Fail(...).
    // cppcheck-suppress noExplicitConstructor
    Result(T value) : value_(std::move(value)) {}
    // cppcheck-suppress noExplicitConstructor
    Result(Failure&& failure) : reason_(std::move(failure.reason)) {}

    bool ok() const { return value_.has_value(); }
    explicit operator bool() const { return ok(); }
    const std::string& reason() const { return reason_; }

    const T& value() const& { return *value_; }
    T& value() & { return *value_; }
    T&& value() && { return std::move(*value_); }
    const T& operator*() const& { return *value_; }
    T& operator*() & { return *value_; }
    const T* operator->() const { return &*value_; }
    T* operator->() { return &*value_; }

  private:
    std::optional<T> value_;
    std::string reason_;
};

template <>
class [[nodiscard]] Result<void> {
  public:
    Result() = default;
    // cppcheck-suppress noExplicitConstructor
    Result(Failure&& failure) : failed_(true), reason_(std::move(failure.reason)) {}

    bool ok() const { return !failed_; }
    explicit operator bool() const { return ok(); }
    const std::string& reason() const { return reason_; }

  private:
    bool failed_ = false;
    std::string reason_;
};

}  // namespace platform
