// rostradb-cli: the command-line companion of the editor.

#include "commands.h"

#include "db/data_file.h"

#include <csignal>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
#ifdef SIGPIPE
    // A reader that went away (`export | head`) must fail the write, so the
    // command can say what it did, instead of ending the program silently.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    std::ios::sync_with_stdio(false);
    rostradb::useBinaryStandardOutput();
    const std::vector<std::string> arguments = rostradb::commandLineArguments(argc, argv);
    // Every command flushes and checks its own output, saying on stderr what
    // could not be written.
    return rostradb::cli::runCli(arguments, std::cout, std::cerr);
}
