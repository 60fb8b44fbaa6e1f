// tidewrite <ports.txt> <directory>: writes the three tide data files of the
// ports described in the text file (see TideFileWriter.h) into the directory.
#include "TideFileWriter.h"

#include <cstdio>
#include <fstream>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: tidewrite <ports.txt> <directory>\n");
        return 2;
    }
    std::ifstream in(argv[1]);
    if (!in) {
        std::fprintf(stderr, "tidewrite: cannot open %s\n", argv[1]);
        return 1;
    }
    std::vector<tidetools::TidePort> ports;
    std::string error = tidetools::readTidePortText(in, ports);
    if (error.empty()) error = tidetools::writeTideFiles(argv[2], ports);
    if (!error.empty()) {
        std::fprintf(stderr, "tidewrite: %s: %s\n", argv[1], error.c_str());
        return 1;
    }
    return 0;
}
