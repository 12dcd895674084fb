#pragma once

#include <QString>

#include <optional>
#include <utility>
#include <variant>

// A failure as the user sees it: a number (shown as a message box title where the
// system asks for "the failure's number") and a description in the user's language.
struct Failure
{
    int number = 0;
    QString description;

    // Numbers follow the classic runtime error numbers, so titles read as users expect.
    enum : int {
        SubscriptOutOfRange = 9,
        TypeMismatch = 13,
        FileNotFound = 53,
        InputPastEndOfFile = 62,
        DiskFull = 61,
        PermissionDenied = 70,
        PathFileAccessError = 75,
        DeviceIoError = 57,
        InvalidPropertyValue = 380,
        CommunicationError = 8020,
    };
};

template<typename T>
class Result
{
public:
    Result(T value) : m_v(std::move(value)) { }
    Result(Failure f) : m_v(std::move(f)) { }

    bool ok() const { return m_v.index() == 0; }
    explicit operator bool() const { return ok(); }
    const T &value() const { return std::get<0>(m_v); }
    T &value() { return std::get<0>(m_v); }
    const T &operator*() const { return value(); }
    const T *operator->() const { return &value(); }
    T *operator->() { return &value(); }
    const Failure &failure() const { return std::get<1>(m_v); }

private:
    std::variant<T, Failure> m_v;
};

// Result of an operation that yields no value.
class Status
{
public:
    Status() = default;
    Status(Failure f) : m_f(std::move(f)) { }
    bool ok() const { return !m_f.has_value(); }
    explicit operator bool() const { return ok(); }
    const Failure &failure() const { return *m_f; }

private:
    std::optional<Failure> m_f;
};
