#pragma once

#include <QString>
#include <optional>
#include <utility>
#include <variant>

// The outcome of an operation that can fail: its value, or the reason it
// failed, a sentence for the author that names the file when there is one.
// Result<> carries no value; `return {};` is a success.
template <typename T = std::monostate> class [[nodiscard]] Result {
public:
    Result(T value = T()) : m_value(std::move(value)) {}
    static Result failure(QString reason)
    {
        Result r;
        r.m_value.reset();
        r.m_reason = std::move(reason);
        return r;
    }

    bool ok() const { return m_value.has_value(); }
    const QString &reason() const { return m_reason; }
    const T &value() const { return *m_value; }
    T &value() { return *m_value; }
    const T *operator->() const { return &*m_value; }

private:
    std::optional<T> m_value;
    QString m_reason;
};
