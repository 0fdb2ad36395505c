// pellimar-cli-completion: writes the bash completion of pellimar-cli, made
// from its option table, to the file given. Run by the build.
#include <fstream>
#include <iostream>

#include "cli/shell_completion.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: pellimar-cli-completion FILE\n";
        return 2;
    }
    std::ofstream out(argv[1], std::ios::binary);
    out << pellimar::cli::BashCompletion("pellimar-cli");
    out.close();
    return out ? 0 : 1;
}
