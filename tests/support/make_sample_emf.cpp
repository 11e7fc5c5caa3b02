// make_sample_emf <out.emf> <crown|pavilion>: writes a report view as the scanner would
// leave it, for the sample program folder.

#include "support/EmfWriter.h"

#include <QString>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    using tav::test::StoneView;
    if (argc != 3 ||
        (std::strcmp(argv[2], "crown") != 0 && std::strcmp(argv[2], "pavilion") != 0)) {
        std::fputs("usage: make_sample_emf <out.emf> <crown|pavilion>\n", stderr);
        return 2;
    }
    const StoneView view =
        std::strcmp(argv[2], "crown") == 0 ? StoneView::Crown : StoneView::Pavilion;
    if (!tav::test::writeStoneViewEmf(QString::fromLocal8Bit(argv[1]), view)) {
        std::fprintf(stderr, "make_sample_emf: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
