// Feeds every file of a committed corpus through its fuzz target's entry, so that
// each build runs the inputs the fuzzers found; a crash or sanitizer report fails.
// Usage: replaycorpus [--documents] [FOLDER]; without --documents the reply path's.
#include "fuzz/documentfuzz.h"
#include "fuzz/replypathfuzz.h"

#include <QDir>
#include <QFile>

#include <cstdio>
#include <cstring>

int main(int argc, char *argv[])
{
    int next = 1;
    const bool documents = argc > next && std::strcmp(argv[next], "--documents") == 0;
    if (documents)
        ++next;
    const QDir corpus(QString::fromLocal8Bit(argc > next         ? argv[next]
                                                     : documents ? KELVANE_DOCUMENT_CORPUS
                                                                 : KELVANE_FUZZ_CORPUS));
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
        const QByteArray bytes = file.readAll();
        if (documents)
            DocumentFuzz::run(bytes);
        else
            ReplyPathFuzz::run(bytes);
    }
    std::printf("%lld inputs replayed\n", static_cast<long long>(inputs.size()));
    return 0;
}
