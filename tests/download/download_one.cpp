// Runs one block transfer, url into path, and reports each stage on stdout, so that a test can
// stop this process at a chosen moment of the download.
#include "download/BlockTransfer.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

class Reporter : public velmora::TransferObserver {
public:
    void started() override { report("started"); }
    void progressed(qint32 last, qint32 total) override {
        report(total - last == 1 ? "last block" : "block");
    }

private:
    static void report(const char* stage) {
        std::printf("%s\n", stage);
        std::fflush(stdout);
    }
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: download_one URL PATH\n");
        return 2;
    }
    Reporter reporter;
    const bool done = velmora::transferToFile(QUrl(QString::fromLocal8Bit(argv[1])),
                                              QString::fromLocal8Bit(argv[2]), reporter, {});
    return done ? 0 : 1;
}
