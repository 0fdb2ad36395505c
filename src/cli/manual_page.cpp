// pellimar-cli-manual: writes the manual page of pellimar-cli from its
// template, the option list made from the option table. Run by the build.
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "cli/help_text.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: pellimar-cli-manual TEMPLATE PAGE\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    std::stringstream page;
    page << in.rdbuf();
    std::string text = page.str();
    const std::string marker = "@OPTIONS@\n";
    const std::size_t at = text.find(marker);
    if (!in || at == std::string::npos) {
        std::cerr << "pellimar-cli-manual: " << argv[1] << ": no line " << marker;
        return 1;
    }
    text.replace(at, marker.size(), pellimar::cli::ManualOptions());
    std::ofstream out(argv[2], std::ios::binary);
    out << text;
    out.close();
    return out ? 0 : 1;
}
