#pragma once
// Reading a whole file on the C++ library and the system's calls alone.
#include <cstddef>

namespace platform::plain {

enum class ReadProblem { None, NotFound, Folder, NotRegular, TooLarge, NoAccess, ReadError };

// Reads the file at path (in the system's encoding of file names) into a
// buffer the caller owns: grow(context, size) makes it size bytes long,
// keeping what it holds, and returns its data. What is not a regular file (a
// device, a pipe: read for ever, or a blocked wait) and a file of more than
// limit bytes, also one that grows past it while it is read, are refused.
// On success the buffer is exactly the file's length.
ReadProblem ReadWholeFile(const char* path, std::size_t limit, void* context, char* (*grow)(void* context, std::size_t size));

// The same into any buffer with resize() and data(), std::string and
// QByteArray among them.
template <class Buffer>
ReadProblem ReadWholeFile(const char* path, std::size_t limit, Buffer& buffer)
{
    return ReadWholeFile(path, limit, &buffer, [](void* context, std::size_t size) {
        Buffer& b = *static_cast<Buffer*>(context);
        b.resize(decltype(b.size())(size));
        return b.data();
    });
}

} // namespace platform::plain
