// The "veltmark" command: the switches that need no window (--check, --help,
// --version) run here on the C++ library alone, so a check loads no Qt; every
// other start becomes the window program, installed beside the web engine
// module, by exec in the same process.
#include "app/plain/Switches.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

#ifndef VELTMARK_MODULE_DIR
#define VELTMARK_MODULE_DIR ""
#endif

namespace {

std::string ownFolder()
{
    char buf[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0)
        return ".";
    std::string path(buf, size_t(n));
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

int runWindow(char** argv)
{
    const std::string folder = ownFolder();
    // The build tree has it beside this program, an installation under the
    // library folder.
    std::string places[] = {folder + "/veltmark-window", folder + "/../" VELTMARK_MODULE_DIR "/veltmark-window"};
    int error = ENOENT;
    for (const std::string& place : places) {
        if (access(place.c_str(), X_OK) != 0)
            continue;
        execv(place.c_str(), argv);
        error = errno;
    }
    std::fprintf(stderr, "veltmark: не удалось запустить окно редактора (%s): %s\n", places[1].c_str(), std::strerror(error));
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (const std::optional<int> done = RunWindowlessSwitches(argc, argv))
        return *done;
    return runWindow(argv);
}
