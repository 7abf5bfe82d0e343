#include "platform/plain/Files.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::plain {

ReadProblem ReadWholeFile(const char* path, std::size_t limit, void* context, char* (*grow)(void* context, std::size_t size))
{
    struct stat st;
    if (path == nullptr || *path == '\0' || ::stat(path, &st) != 0)
        return errno == EACCES ? ReadProblem::NoAccess : ReadProblem::NotFound;
    if (S_ISDIR(st.st_mode))
        return ReadProblem::Folder;
    // Checked before opening: opening a pipe waits for a writer.
    if (!S_ISREG(st.st_mode))
        return ReadProblem::NotRegular;
    if (std::size_t(st.st_size) > limit)
        return ReadProblem::TooLarge;
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return ReadProblem::NoAccess;
    // One byte more than the file had, to notice that it grew.
    std::size_t capacity = std::size_t(st.st_size) + 1;
    char* data = grow(context, capacity);
    std::size_t length = 0;
    ReadProblem problem = ReadProblem::None;
    for (;;) {
        if (length == capacity) {
            if (capacity > limit) {
                problem = ReadProblem::TooLarge;
                break;
            }
            capacity = std::min(capacity * 2, limit + 1);
            data = grow(context, capacity);
        }
        const ssize_t got = ::read(fd, data + length, capacity - length);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            problem = ReadProblem::ReadError;
            break;
        }
        if (got == 0)
            break;
        length += std::size_t(got);
    }
    ::close(fd);
    if (problem == ReadProblem::None && length > limit)
        problem = ReadProblem::TooLarge;
    grow(context, problem == ReadProblem::None ? length : 0);
    return problem;
}

} // namespace platform::plain
