// rostradb-cli: the command-line companion of the editor.

#include "commands.h"

#include "db/data_file.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    std::ios::sync_with_stdio(false);
    rostradb::useBinaryStandardOutput();
    const std::vector<std::string> arguments = rostradb::commandLineArguments(argc, argv);
    const int status = rostradb::cli::runCli(arguments, std::cout, std::cerr);
    std::cout.flush();
    return std::cout ? status : rostradb::cli::kRefused;
}
