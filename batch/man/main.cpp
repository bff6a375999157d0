#include "batch/ManPages.h"

#include <fstream>
#include <iostream>
#include <string>

// quillon-man-pages FOLDER VERSION DATE: writes quillon.1 and
// quillon-batch.1 into FOLDER. The build runs it, so that the pages always
// tell what the programs built with them take.
int main(int argc, char** argv)
{
    if (argc != 4) {
        std::cerr << "usage: quillon-man-pages FOLDER VERSION DATE\n";
        return 2;
    }
    const std::string folder = argv[1];
    const ManPages::Edition edition{argv[2], argv[3]};
    const struct {
        const char* file;
        void (*write)(std::ostream&, const ManPages::Edition&);
    } pages[] = {
        {"quillon.1", ManPages::writeDesktopPage},
        {"quillon-batch.1", ManPages::writeBatchPage},
    };
    for (const auto& page : pages) {
        const std::string path = folder + "/" + page.file;
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        page.write(out, edition);
        out.close();
        if (!out) {
            std::cerr << "quillon-man-pages: cannot write " << path << "\n";
            return 1;
        }
    }
    return 0;
}
