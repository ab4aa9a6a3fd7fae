// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "core/base/filesave.h"
#include <QString>
#include <memory>
#include <optional>
#include <variant>

class Link;

// A trace of every frame sent and every chunk received, one line each with its time in
// milliseconds, so that a dealer can send a cable problem to support. A trace is appended to
// the file, each transfer opened by a line with the date, the time and the port.
//
// Lines are written as they happen, so that a trace survives a program that is stopped in the
// middle of a transfer. Every write is checked: after the first failure (a full disk) the trace
// stops, the file keeps its whole lines, and failure() says why.
class TraceFile {
public:
    // The file opened for appending; the system's reason when it cannot be.
    static std::variant<std::unique_ptr<TraceFile>, FileFailure> open(const QString& path);
    ~TraceFile();

    // Every frame of `link` goes to the file until detach() or destruction.
    void attach(Link& link, const QString& portName);
    void detach();
    QString path() const { return m_file.path(); }
    const std::optional<FileFailure>& failure() const { return m_file.failure(); }

private:
    TraceFile() = default;
    AppendFile m_file;
    Link* m_link = nullptr;
};
