#pragma once

#include <QString>
#include <stdexcept>

namespace store {

// A failed table operation. The message is meant for the user: it names the table and carries
// SQLite's own text where SQLite was the one to refuse.
class Error : public std::runtime_error {
public:
    explicit Error(const QString &message) : std::runtime_error(message.toStdString()), m_message(message) {}
    QString message() const { return m_message; }

private:
    QString m_message;
};

// Ends an operation quietly: whoever catches it shows nothing. A post-error handler that has
// already told the user what went wrong answers with this.
class Abort : public std::exception {
public:
    const char *what() const noexcept override { return "operation aborted"; }
};

} // namespace store
