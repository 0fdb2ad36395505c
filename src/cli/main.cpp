// pellimar-cli: the conversion from the command line.
#include <csignal>
#include <string>
#include <vector>

#include "cli/run_cli.h"

int main(int argc, char** argv)
{
    // A write past a file-size limit must fail as a write error, not kill us
    // with the output half written and nothing said.
    std::signal(SIGXFSZ, SIG_IGN);
    return pellimar::cli::RunCli(std::vector<std::string>(argv, argv + argc));
}
