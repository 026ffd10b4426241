#pragma once

#include <QString>

#include <stdexcept>

namespace common {

// A file or address the desktop could not open.
class ShellError : public std::runtime_error {
public:
    explicit ShellError(const QString &message) : std::runtime_error(message.toStdString()) {}
};

// Opens a document in its associated program (relative names are taken from the working folder).
void RunFile(const QString &fileName);
// Opens the default mail program on a new message to `address`.
void SendMailTo(const QString &address);
// Shows the hourglass at once; the normal cursor comes back by itself with the next cursor update.
void ShowWaitCursor();

} // namespace common
