#pragma once

#include <string>
#include <utility>
#include <variant>

// An error carried as a value: the message is written for the operator; code is the
// system's error number where one caused it (ENOENT, EIO ...), else 0.
struct Error {
    std::string message;
    int code = 0;
};

// Either a value or an Error; callers decide which message box the operator sees.
template <typename T> class Result
{
public:
    Result(T value) : m_v(std::move(value)) {}
    Result(Error error) : m_v(std::move(error)) {}

    bool ok() const { return std::holds_alternative<T>(m_v); }
    explicit operator bool() const { return ok(); }
    const T& value() const& { return std::get<T>(m_v); }
    T& value() & { return std::get<T>(m_v); }
    T&& value() && { return std::get<T>(std::move(m_v)); }
    const T& operator*() const& { return value(); }
    const T* operator->() const { return &value(); }
    const Error& error() const { return std::get<Error>(m_v); }

private:
    std::variant<T, Error> m_v;
};

template <> class Result<void>
{
public:
    Result() = default;
    Result(Error error) : m_error(std::move(error)), m_failed(true) {}

    bool ok() const { return !m_failed; }
    explicit operator bool() const { return ok(); }
    const Error& error() const { return m_error; }

private:
    Error m_error;
    bool m_failed = false;
};
