// Feeds every file of the committed corpus through the fuzz target's entry, so that
// each build runs the inputs the fuzzer found; a crash or sanitizer report fails.
#include "fuzz/replypathfuzz.h"

#include <QDir>
#include <QFile>

#include <cstdio>

int main(int argc, char *argv[])
{
    const QDir corpus(QString::fromLocal8Bit(argc > 1 ? argv[1] : KELVANE_FUZZ_CORPUS));
    const QFileInfoList inputs = corpus.entryInfoList(QDir::Files, QDir::Name);
    if (inputs.isEmpty()) {
        std::fprintf(stderr, "no inputs in %s\n", qPrintable(corpus.path()));
        return 1;
    }
    for (const QFileInfo &input : inputs) {
        QFile file(input.filePath());
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(input.filePath()));
            return 1;
        }
        ReplyPathFuzz::run(file.readAll());
    }
    std::printf("%lld inputs replayed\n", static_cast<long long>(inputs.size()));
    return 0;
}
