// SPDX-License-Identifier: GPL-3.0-or-later
// Runs every file of a fuzzer's seed corpus once through its target, built with the ordinary
// compiler: each finding kept in the corpus as a regression input is checked by every test run,
// under the sanitizers in CI, without clang or libFuzzer. A finding aborts.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) __attribute__((weak));

int main(int argc, char** argv) {
    if (LLVMFuzzerInitialize)
        LLVMFuzzerInitialize(&argc, &argv);
    else
        new QCoreApplication(argc, argv);
    const QFileInfoList files = QDir(QStringLiteral(KT520_CORPUS)).entryInfoList(QDir::Files, QDir::Name);
    if (files.isEmpty()) {
        std::fprintf(stderr, "no inputs in %s\n", KT520_CORPUS);
        return 1;
    }
    for (const QFileInfo& info : files) {
        QFile file(info.filePath());
        if (!file.open(QIODevice::ReadOnly)) return 1;
        const QByteArray bytes = file.readAll();
        std::printf("%s\n", qPrintable(info.fileName()));
        std::fflush(stdout);
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()));
    }
    return 0;
}
