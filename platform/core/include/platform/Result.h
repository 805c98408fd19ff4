#pragma once

#include <string>
#include <utility>
#include <variant>

namespace tess {

// Why an operation failed: a short machine-readable code (where callers must tell failures apart,
// such as the invalid-picture case) and a reason meant for a person, usually naming the path.
struct Error {
    int code = 0;
    std::string reason;
};

// Error codes that callers branch on. They keep the numbers the windows' messages are keyed to.
namespace errc {
inline constexpr int Generic = 5;        // any failure without a more specific code
inline constexpr int FileNotFound = 53;  // the named file does not exist
inline constexpr int PermissionDenied = 70;
inline constexpr int PathNotFound = 76;
inline constexpr int DiskFull = 61;
inline constexpr int OutOfMemory = 7;
inline constexpr int InvalidPicture = 481;  // not a BMP, GIF, JPEG or ICO we can decode
}  // namespace errc

// A value or the reason there is none. The core layers return these and never show anything.
template <class T>
class [[nodiscard]] Result {
  public:
    Result(T value) : state_(std::move(value)) {}
    Result(Error error) : state_(std::move(error)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }

    T& value() & { return std::get<0>(state_); }
    const T& value() const& { return std::get<0>(state_); }
    T&& value() && { return std::get<0>(std::move(state_)); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }

    const Error& error() const { return std::get<1>(state_); }

  private:
    std::variant<T, Error> state_;
};

template <>
class [[nodiscard]] Result<void> {
  public:
    Result() = default;
    Result(Error error) : error_(std::move(error)), ok_(false) {}

    bool ok() const { return ok_; }
    explicit operator bool() const { return ok_; }
    const Error& error() const { return error_; }

  private:
    Error error_;
    bool ok_ = true;
};

using Status = Result<void>;

}  // namespace tess
