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

// Runs a step whose failure the caller lets pass: a store failure (or an abort the store's error
// handler has already reported) ends the step and is otherwise ignored; anything else is a fault
// and goes on to the caller. Returns whether the step ran to its end.
template<typename Step>
bool ignoreStoreError(Step &&step)
{
    try {
        step();
        return true;
    } catch (const Error &) {
    } catch (const Abort &) {
    }
    return false;
}

} // namespace store
