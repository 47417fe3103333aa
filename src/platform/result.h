// What everything that can fail gives back: its value, or why it failed. The
// reason is a sentence for the status log or stderr (UTF-8, may name a
// file); it is never empty for a failure.
#pragma once

#include <optional>
#include <string>
#include <utility>

namespace platform {

// Why something failed; converts to any Result. A refusal is a failure of
// something not even begun, because what it was given may not be used (a
// target that is a folder, a file that cannot be opened): nothing changed.
struct Failure {
    std::string reason;
    bool refused = false;
};

inline Failure Fail(std::string reason) {
    return {reason.empty() ? std::string("failed") : std::move(reason)};
}

inline Failure Refuse(std::string reason) {
    Failure failure = Fail(std::move(reason));
    failure.refused = true;
    return failure;
}

// Result<> gives back nothing but whether it worked.
template <typename T = void>
class [[nodiscard]] Result {
  public:
    // Implicit both ways, so that a function returns a value or Fail(...).
    // cppcheck-suppress noExplicitConstructor
    Result(T value) : value_(std::move(value)) {}
    // cppcheck-suppress noExplicitConstructor
    Result(Failure&& failure) : reason_(std::move(failure.reason)), refused_(failure.refused) {}

    bool ok() const { return value_.has_value(); }
    explicit operator bool() const { return ok(); }
    const std::string& reason() const { return reason_; }
    bool refused() const { return refused_; }
    // The failure as it is, to be passed on as another Result's.
    Failure failure() const { return {reason_, refused_}; }

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
    bool refused_ = false;
};

template <>
class [[nodiscard]] Result<void> {
  public:
    Result() = default;
    // cppcheck-suppress noExplicitConstructor
    Result(Failure&& failure)
        : failed_(true), refused_(failure.refused), reason_(std::move(failure.reason)) {}

    bool ok() const { return !failed_; }
    explicit operator bool() const { return ok(); }
    const std::string& reason() const { return reason_; }
    bool refused() const { return refused_; }
    Failure failure() const { return {reason_, refused_}; }

  private:
    bool failed_ = false;
    bool refused_ = false;
    std::string reason_;
};

}  // namespace platform
