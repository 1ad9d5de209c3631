#pragma once
// What a package operation that can fail gives back: its value, or the
// failure's message, ready to show a user ("the name is longer than 63
// bytes"). Expected failures of a damaged or missing file are results, never
// exceptions.
//
//   Result<std::vector<uint8_t>> built = BuildPackage(description);
//   if (!built) return Report(built.error());
//   Use(*built);
//
// A function returns Failure{"why"} for a failure and its value (or
// Result<void>{} when there is none) for a success.

#include <optional>
#include <string>
#include <utility>

namespace scr {

struct Failure {
    std::string message;
};

template <class T>
class [[nodiscard]] Result {
public:
    Result(T value) : value_(std::move(value)) {}
    Result(Failure failure) : error_(std::move(failure.message)) {}

    bool ok() const { return value_.has_value(); }
    explicit operator bool() const { return ok(); }
    // The value; only on success (std::bad_optional_access otherwise).
    T& value() & { return value_.value(); }
    const T& value() const& { return value_.value(); }
    T&& value() && { return std::move(value_).value(); }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    // Why it failed; empty on success.
    const std::string& error() const { return error_; }

private:
    std::optional<T> value_;
    std::string error_;
};

template <>
class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Failure failure) : failed_(true), error_(std::move(failure.message)) {}

    bool ok() const { return !failed_; }
    explicit operator bool() const { return ok(); }
    const std::string& error() const { return error_; }

private:
    bool failed_ = false;
    std::string error_;
};

} // namespace scr
