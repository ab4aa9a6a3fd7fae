#pragma once
#include <QFile>
#include <QString>
#include <memory>
#include <variant>

class Link;

// A trace of every frame sent and every chunk received, one line each with its time in
// milliseconds, so that a dealer can send a cable problem to support. A trace is appended to
// the file, each transfer opened by a line with the date, the time and the port.
class TraceFile {
public:
    // The file opened for appending; the platform's message when it cannot be.
    static std::variant<std::unique_ptr<TraceFile>, QString> open(const QString& path);
    ~TraceFile();

    // Every frame of `link` goes to the file until detach() or destruction.
    void attach(Link& link, const QString& portName);
    void detach();
    QString path() const { return m_file.fileName(); }

private:
    explicit TraceFile(const QString& path) : m_file(path) {}
    QFile m_file;
    Link* m_link = nullptr;
};
