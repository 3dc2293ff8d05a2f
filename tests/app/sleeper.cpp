// A stand-in for the updater and the remote-assistance tool: a real program of
// this machine with a version note (9.9.9.9), which tells its process id in
// the file named like itself plus ".pid" and then waits to be ended.

#include <cstdio>
#include <string>
#include <unistd.h>

int main(int, char** argv) {
    const std::string report = std::string(argv[0]) + ".pid";
    if (FILE* f = std::fopen(report.c_str(), "w")) {
        std::fprintf(f, "%d\n", int(getpid()));
        std::fclose(f);
    }
    sleep(60);
    return 0;
}
